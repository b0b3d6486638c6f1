#include <windows.h>

#include <gtest/gtest.h>

#include "ini_file.h"
#include "placement.h"

namespace {

const wchar_t* const TestKey = L"Software\\VortaneTest";

TEST(Placement, ChosenByTheExactCaseIniMark) {
  EXPECT_EQ(ChoosePlacement(""), nullptr);
  EXPECT_EQ(ChoosePlacement("pos.ini\\Main"), IniPlacement);
  EXPECT_EQ(ChoosePlacement("POS.INI\\Main"), RegistryPlacement);
}

TEST(Placement, IniFileBesideTheProgramSavesAllFourAndLoadsOnlyWhatIsThere) {
  const std::string ini = TIniFile::ProgramDirectory() + "vortane-test.ini";
  TOwned<TControl> control(CreateFormControl(nullptr, "placement"));  // no window needed
  control->SetPosition(11, 22);
  control->SetSize(333, 244);
  IniPlacement(control.get(), "vortane-test.ini\\Main", true);
  int stored[4];
  for (int i = 0; const char* name : {"Left", "Top", "Width", "Height"})
    stored[i++] = GetPrivateProfileIntA("Main", name, -1, ini.c_str());
  EXPECT_EQ((std::vector<int>(stored, stored + 4)), (std::vector<int>{11, 22, 333, 244}));

  DeleteFileA(ini.c_str());
  WritePrivateProfileStringA("Main", "Left", "-7", ini.c_str());
  IniPlacement(control.get(), "vortane-test.ini\\Main", false);
  DeleteFileA(ini.c_str());
  const RECT expected{-7, 22, 326, 266};
  EXPECT_TRUE(EqualRect(&control->BoundsRect, &expected));
}

TEST(Placement, RegistryValueOfAnotherTypeIsNotReadAsACoordinate) {
  const DWORD top = 44;
  RegSetKeyValueW(HKEY_CURRENT_USER, TestKey, L"Left", REG_SZ, L"7", 4);  // 4 bytes, as a DWORD
  RegSetKeyValueW(HKEY_CURRENT_USER, TestKey, L"Top", REG_DWORD, &top, sizeof top);
  TOwned<TControl> control(CreateFormControl(nullptr, "placement"));
  control->SetPosition(1, 2);
  RegistryPlacement(control.get(), "VortaneTest", false);
  RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
  EXPECT_EQ(control->Left(), 1);
  EXPECT_EQ(control->Top(), 44);
}

}  // namespace
