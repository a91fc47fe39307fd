// The registry store in the user's hive under Wine: types, the written NUL,
// read access, and key names the registry refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "tests/settings_fixture.h"

namespace orva::platform {
namespace {

using Kind = SettingsValue::Kind;

class RegistryStore : public testing::Test {
 protected:
  std::unique_ptr<SettingsSection> Section(SettingsAccess access = SettingsAccess::kAll) {
    key = OpenApplicationKey(settings.ApplicationKey(), access);
    EXPECT_NE(key, nullptr);
    return key && key->CreateSection("Main") ? key->OpenSection("Main") : nullptr;
  }

  void SetRaw(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY raw = nullptr;
    const std::string path = settings.ApplicationKey() + "\\Main";
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    RegSetValueExA(raw, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(raw);
  }

  test::TestSettings settings;
  std::unique_ptr<SettingsKey> key;
};

struct RawCase {
  DWORD type;
  std::string bytes;
  Kind kind;
  std::string text;
};

class RegistryValue : public RegistryStore, public testing::WithParamInterface<RawCase> {};

TEST_P(RegistryValue, IsTextOnlyWhenStoredAsAString) {
  SetRaw("V", GetParam().type, GetParam().bytes);
  const SettingsValue value = Section(SettingsAccess::kRead)->Read("V");
  EXPECT_EQ(value.kind, GetParam().kind);
  EXPECT_EQ(value.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegistryValue,
    testing::Values(RawCase{REG_SZ, std::string("950,138\0", 8), Kind::kText, "950,138"},
                    RawCase{REG_SZ, "no terminator", Kind::kText, "no terminator"},
                    RawCase{REG_SZ, std::string("a\0b\0", 4), Kind::kText, "a"},
                    RawCase{REG_EXPAND_SZ, std::string("%TEMP%\0", 7), Kind::kText, "%TEMP%"},
                    RawCase{REG_DWORD, std::string("\x07\0\0\0", 4), Kind::kOtherType, ""},
                    RawCase{REG_MULTI_SZ, std::string("a\0\0", 3), Kind::kOtherType, ""},
                    RawCase{REG_BINARY, "", Kind::kText, ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Every value is in the registry once RegSetValueExA returns: closing the
// key has nothing left to store, and a section opened before stays usable.
TEST_F(RegistryStore, ClosingTheKeyLosesNothingAndOpensNothingAfter) {
  auto section = Section();
  ASSERT_TRUE(section->WriteText("A", "1"));
  EXPECT_EQ(key->Close(), std::nullopt);
  EXPECT_EQ(key->Close(), std::nullopt);
  EXPECT_FALSE(key->CreateSection("Main"));
  EXPECT_EQ(key->OpenSection("Main"), nullptr);
  EXPECT_EQ(section->Read("A").text, "1");
  ASSERT_TRUE(section->WriteText("B", "2"));
  EXPECT_EQ(Section(SettingsAccess::kRead)->Read("B").text, "2");
}

TEST_F(RegistryStore, WritesStringsWithTheirNul) {
  ASSERT_TRUE(Section()->WriteText("NormPos", "950,138,1324,334"));
  ASSERT_TRUE(Section()->WriteText("Empty", ""));

  HKEY raw = nullptr;
  const std::string path = settings.ApplicationKey() + "\\Main";
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS);
  for (const std::string text : {"950,138,1324,334", ""}) {
    char data[64] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    const char* name = text.empty() ? "Empty" : "NormPos";
    ASSERT_EQ(RegQueryValueExA(raw, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data, size), text + '\0');
  }
  RegCloseKey(raw);
}

TEST_F(RegistryStore, AbsentValuesAndReadAccess) {
  EXPECT_EQ(Section()->Read("Missing").kind, Kind::kAbsent);
  EXPECT_FALSE(Section(SettingsAccess::kRead)->WriteText("V", "1"));
  EXPECT_EQ(Section()->Read("V").kind, Kind::kAbsent);
}

TEST_F(RegistryStore, AKeyNameTooLongIsNotOpened) {
  EXPECT_EQ(OpenApplicationKey("Software\\" + std::string(300, 'x'), SettingsAccess::kAll),
            nullptr);
}

}  // namespace
}  // namespace orva::platform
