#pragma once
// The typed value record that travels along every link.

#include <cstdint>
#include <string>

using AnsiString = std::string;  // Windows-1251 bytes, one byte per character

class TStream;
struct TNd_Event;

enum TDataType : std::uint8_t {
  dtNull = 0, dtInteger = 1, dtString = 2, dtData = 3, dtCombo = 4, dtStrList = 5,
  dtIcon = 6, dtReal = 7, dtColor = 8, dtScript = 9, dtStream = 10, dtBitmap = 11,
  dtWave = 12, dtArray = 13, dtComboEx = 14, dtFont = 15, dtMatrix = 16, dtJpeg = 17,
  dtMenu = 18, dtCode = 19, dtObject = 20, dtBreak = 21,
};

inline constexpr std::uint8_t DeferredEventBit = 0x80;
inline constexpr int TypeNameCount = 22;
extern const char* const TypeNames[TypeNameCount];

struct TData {
  std::uint8_t DataType = dtNull;   // tag; bit 0x80 marks a deferred event
  std::int32_t IntValue = 0;
  AnsiString StrValue;
  double RealValue = 0.0;
  TNd_Event* NextEvent = nullptr;   // not owned; meaningful only while deferred
  TData* Next = nullptr;            // not owned; further values of a multi-value record
  // A Stream record refers to its stream here: a 32-bit IntValue cannot hold a 64-bit pointer.
  TStream* StreamValue = nullptr;
};

void MakeNull(TData& d);
void MakeInteger(TData& d, std::int32_t value);
void MakeString(TData& d, AnsiString text);
void MakeStream(TData& d, TStream* stream);

bool IsInteger(const TData& d);
bool IsStream(const TData& d);

std::int32_t ToInteger(const TData& d);
double ToReal(const TData& d);
AnsiString ToStr(const TData& d);
std::int32_t ToIndex(const TData& d);
