// The settings store on Windows: the per-user registry hive. The window's
// placement lives where users and tools expect a program's settings, below
// HKEY_CURRENT_USER, as plain REG_SZ values.
#include <windows.h>

#include <algorithm>

#include "platform/settings_store.h"

namespace orva::platform {

namespace {

class RegistrySection : public SettingsSection {
 public:
  explicit RegistrySection(HKEY key) : key_(key) {}
  ~RegistrySection() override { RegCloseKey(key_); }
  RegistrySection(const RegistrySection&) = delete;
  RegistrySection& operator=(const RegistrySection&) = delete;

  SettingsValue Read(const std::string& name) override {
    DWORD type = 0;
    DWORD size = 0;
    const LONG probe = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (probe == ERROR_FILE_NOT_FOUND) {
      return {SettingsValue::Kind::kAbsent, {}};
    }
    if (probe != ERROR_SUCCESS) {
      return {SettingsValue::Kind::kQueryFailed, {}};
    }
    if (size == 0) {
      return {SettingsValue::Kind::kText, {}};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
      return {SettingsValue::Kind::kOtherType, {}};
    }
    return ReadText(name, size);
  }

  bool WriteText(const std::string& name, const std::string& text) override {
    const auto* data = reinterpret_cast<const BYTE*>(text.c_str());
    const auto size = static_cast<DWORD>(text.size() + 1);
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, data, size) == ERROR_SUCCESS;
  }

 private:
  SettingsValue ReadText(const std::string& name, DWORD size) {
    std::string text(size, '\0');
    DWORD type = 0;
    auto* data = reinterpret_cast<BYTE*>(text.data());
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) {
      return {SettingsValue::Kind::kQueryFailed, {}};
    }
    // The stored bytes need not end in a NUL; the text ends at the first.
    text.resize(std::min<std::size_t>(size, text.size()));
    text.resize(std::min(text.size(), text.find('\0')));
    return {SettingsValue::Kind::kText, std::move(text)};
  }

  HKEY key_;
};

// Every write is stored by RegSetValueExA at once, so closing the key loses
// nothing: it only closes the handle (RegCloseKey, no flush).
class RegistryKey : public SettingsKey {
 public:
  RegistryKey(HKEY key, REGSAM sectionAccess) : key_(key), sectionAccess_(sectionAccess) {}
  ~RegistryKey() override { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool CreateSection(const std::string& name) override {
    HKEY section = nullptr;
    if (!key_) {
      return false;
    }
    if (RegCreateKeyExA(key_, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &section, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(section);
    return true;
  }

  std::unique_ptr<SettingsSection> OpenSection(const std::string& name) override {
    HKEY section = nullptr;
    if (!key_ || RegOpenKeyExA(key_, name.c_str(), 0, sectionAccess_, &section) != ERROR_SUCCESS) {
      return nullptr;
    }
    return std::make_unique<RegistrySection>(section);
  }

  std::optional<SettingsLoss> Close() override {
    if (key_) {
      RegCloseKey(key_);
      key_ = nullptr;
    }
    return std::nullopt;
  }

 private:
  HKEY key_;
  REGSAM sectionAccess_;
};

}  // namespace

std::unique_ptr<SettingsKey> OpenApplicationKey(const std::string& path, SettingsAccess access) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<RegistryKey>(key,
                                       access == SettingsAccess::kRead ? KEY_READ : KEY_ALL_ACCESS);
}

}  // namespace orva::platform
