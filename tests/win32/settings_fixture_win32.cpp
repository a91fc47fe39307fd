// The test settings store of the Windows build: the real per-user registry,
// below an application key named for one test and deleted with the fixture,
// read and seeded with the registry calls themselves.
#include <windows.h>

#include <algorithm>

#include "tests/settings_fixture.h"

namespace orva::test {

namespace {

int nextFixture = 0;

HKEY OpenKey(const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) == ERROR_SUCCESS ? key
                                                                                          : nullptr;
}

HKEY CreateKey(const std::string& path, DWORD options) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  return key;
}

void SetValue(const std::string& path, const std::string& name, DWORD type, const void* data,
              DWORD size) {
  const HKEY key = CreateKey(path, REG_OPTION_NON_VOLATILE);
  RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

StoredEntry EntryOf(const char* name, DWORD type, const std::string& data) {
  if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    memcpy(&number, data.data(), sizeof number);
    return {name, false, std::to_string(number)};
  }
  return {name, type == REG_SZ, data.substr(0, data.find('\0'))};
}

}  // namespace

TestSettings::TestSettings()
    : baseName_("orva-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(nextFixture++)),
      root_("Software\\" + baseName_) {
  RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
}

TestSettings::~TestSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root_.c_str());
}

std::string TestSettings::ExecutablePath() const {
  return "C:\\Hosts\\" + baseName_ + ".exe";
}

std::string TestSettings::UnusableExecutablePath() const {
  // Registry key names are limited to 255 characters.
  return "C:\\Hosts\\" + std::string(300, 'x') + ".exe";
}

std::string TestSettings::ApplicationKey() const {
  return root_;
}

bool TestSettings::ApplicationKeyExists() const {
  const HKEY key = OpenKey(root_, KEY_READ);
  if (key) {
    RegCloseKey(key);
  }
  return key != nullptr;
}

std::optional<std::vector<StoredEntry>> TestSettings::Section(const std::string& section) const {
  const HKEY key = OpenKey(root_ + "\\" + section, KEY_READ);
  if (!key) {
    return std::nullopt;
  }
  std::vector<StoredEntry> entries;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameSize = sizeof name;
    std::string data(4096, '\0');
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS) {
      break;
    }
    data.resize(dataSize);
    entries.push_back(EntryOf(name, type, data));
  }
  RegCloseKey(key);
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool TestSettings::RootHas(const std::string& name) const {
  const HKEY key = OpenKey(name, KEY_READ);
  if (key) {
    RegCloseKey(key);
  }
  return key != nullptr;
}

void TestSettings::SeedText(const std::string& section, const std::string& name,
                            const std::string& text) {
  SetValue(root_ + "\\" + section, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void TestSettings::SeedNumber(const std::string& section, const std::string& name,
                              std::uint32_t number) {
  const DWORD value = number;
  SetValue(root_ + "\\" + section, name, REG_DWORD, &value, sizeof value);
}

void TestSettings::RefuseSection(const std::string&) {
  // Below a volatile key only volatile keys may be created, and every
  // section of the store is non-volatile.
  RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root_.c_str());
  RegCloseKey(CreateKey(root_, REG_OPTION_VOLATILE));
}

}  // namespace orva::test
