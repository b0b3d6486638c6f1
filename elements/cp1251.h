#pragma once
// Lower-casing of Windows-1251 text by a fixed table, whatever the system's ANSI code page:
// CharLowerA follows that code page and leaves Cyrillic alone under 1252.
//
// Pairs converted: Latin A-Z; Cyrillic А-Я (C0-DF) to а-я (E0-FF); Ё A8 to B8; and the other
// capitals whose small letter also exists in 1251, as Windows pairs them under this code page:
// Ђ 80>90, Ѓ 81>83, Љ 8A>9A, Њ 8C>9C, Ќ 8D>9D, Ћ 8E>9E, Џ 8F>9F, Ў A1>A2, Ј A3>BC, Ґ A5>B4,
// Є AA>BA, Ї AF>BF, І B2>B3, Ѕ BD>BE. Every other byte, 0 included, stays as it is.

#include "data.h"

char Cp1251Lower(char c);

// Converts the whole length: a byte 0 inside the text is not an end.
void Cp1251LowerInPlace(AnsiString& text);
