#pragma once
// Values in an INI file through operations that either save or load, so one call sequence serves
// both directions. The platform reports nothing: a missing file or key loads the given default,
// a failed write is ignored.

#include <cstdint>

#include "data.h"
#include "obj.h"

class TIniFile : public TObj {
public:
  bool Writing = false;
  AnsiString FileName;
  AnsiString Section;

  // Writing: saves the decimal text of value and returns value. Loading: the stored integer, or
  // value when the key is missing.
  std::int32_t ExchangeInteger(const AnsiString& key, std::int32_t value);
  // The same for a text; the platform drops surrounding blanks and quotes of a loaded value.
  AnsiString ExchangeString(const AnsiString& key, const AnsiString& value);

  // The executable's folder, ending with a backslash; empty when the platform cannot tell.
  static AnsiString ProgramDirectory();

protected:
  TIniFile() = default;
  ~TIniFile() override = default;

private:
  friend TIniFile* CreateIniFile(const AnsiString& fileName);
};

// Loading, in no section; the owner sets Section and Writing.
TIniFile* CreateIniFile(const AnsiString& fileName);
