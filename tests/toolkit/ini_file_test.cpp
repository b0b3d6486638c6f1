#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "ini_file.h"
#include "text_codec.h"

namespace {

using IniPtr = TOwned<TIniFile>;

// A fresh folder under the temporary path, removed with the files the test made in it.
class TempFolder {
public:
  TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {}, unique[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, temp) && GetTempFileNameW(temp, L"ini", 0, unique) &&
        DeleteFileW(unique) && CreateDirectoryW(unique, nullptr)) {
      path = std::wstring(unique) + L"\\";
    } else {
      ADD_FAILURE() << "no temporary folder";
      path = L"<none>\\";  // an invalid name: nothing lands anywhere else instead
    }
  }
  ~TempFolder() {
    for (const AnsiString& name : made) DeleteFileW(ToWide(name).c_str());
    RemoveDirectoryW(path.c_str());
  }
  AnsiString File(const char* name) { return made.emplace_back(FromWide(path) + name); }

  std::wstring path;
  std::vector<AnsiString> made;
};

std::string ReadFileBytes(const AnsiString& name) {
  const HANDLE file = CreateFileW(ToWide(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(none)";
  std::string bytes(4096, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes.substr(0, read);
}

struct Placement {
  std::int32_t left, top, width, height;
};

// One call sequence both saves and loads, the way the main form keeps its placement.
void Exchange(TIniFile& ini, Placement& p) {
  p.left = ini.ExchangeInteger("Left", p.left);
  p.top = ini.ExchangeInteger("Top", p.top);
  p.width = ini.ExchangeInteger("Width", p.width);
  p.height = ini.ExchangeInteger("Height", p.height);
}

TEST(IniFileTest, SameExchangeSavesAndLoadsIncludingNegativeValues) {
  TempFolder folder;
  IniPtr ini(CreateIniFile(folder.File("vortane.ini")));
  ini->Section = "Placement";
  ini->Writing = true;
  Placement saved{-8, INT_MIN, 1024, INT_MAX};
  Exchange(*ini, saved);
  EXPECT_EQ(saved.left, -8);

  IniPtr other(CreateIniFile(ini->FileName));
  other->Section = "Placement";
  Placement loaded{1, 2, 3, 4};
  Exchange(*other, loaded);
  EXPECT_EQ(std::tie(loaded.left, loaded.top, loaded.width, loaded.height),
            std::tuple(-8, INT_MIN, 1024, INT_MAX));
}

TEST(IniFileTest, LoadingWhatIsMissingGivesTheValuePassedInAndWritesNothing) {
  TempFolder folder;
  IniPtr ini(CreateIniFile(folder.File("settings.ini")));
  ini->Section = "Main";
  EXPECT_EQ(ini->ExchangeInteger("Left", -42), -42);
  EXPECT_EQ(ini->ExchangeString("Name", "fallback"), "fallback");
  EXPECT_EQ(ReadFileBytes(ini->FileName), "(none)");

  ini->Writing = true;
  ini->ExchangeInteger("Left", 17);
  ini->Writing = false;
  EXPECT_EQ(ini->ExchangeInteger("Top", 5), 5);
  ini->Section = "Other";
  EXPECT_EQ(ini->ExchangeInteger("Left", 5), 5);
}

TEST(IniFileTest, CyrillicAndLongTextsSurviveWhateverTheSystemCodePage) {
  TempFolder folder;
  IniPtr ini(CreateIniFile(folder.File("окно.ini")));
  ini->Section = "Окно";
  ini->Writing = true;
  ini->ExchangeInteger("Лево", -8);
  EXPECT_EQ(ini->ExchangeString("Имя", "Заряд окончен!"), "Заряд окончен!");
  ini->ExchangeString("Long", std::string(3000, 'x'));

  ini->Writing = false;
  EXPECT_EQ(ini->ExchangeInteger("Лево", 0), -8);
  EXPECT_EQ(ini->ExchangeString("Имя", ""), "Заряд окончен!");
  EXPECT_EQ(ini->ExchangeString("Long", ""), std::string(3000, 'x'));
}

TEST(IniFileTest, WritingKeepsAnExistingFileInItsOwnEncoding) {
  TempFolder folder;
  IniPtr ini(CreateIniFile(folder.File("old.ini")));
  const HANDLE file = CreateFileW(ToWide(ini->FileName).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "[Main]\r\nLeft=17\r\n", 16, &written, nullptr);
  CloseHandle(file);

  ini->Section = "Main";
  ini->Writing = true;
  ini->ExchangeInteger("Top", 5);
  const std::string bytes = ReadFileBytes(ini->FileName);
  EXPECT_EQ(bytes.rfind("[Main]\r\nLeft=17\r\n", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("Top=5"), std::string::npos) << bytes;
}

TEST(IniFileTest, ProgramDirectoryIsTheFolderOfThisProgram) {
  const AnsiString folder = TIniFile::ProgramDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  const DWORD attributes = GetFileAttributesW(ToWide(folder + "toolkit_core_tests.exe").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
