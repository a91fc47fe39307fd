// The per-user settings store that keeps the statistics window's placement.
//
// Its shape is the registry's: an application key below the user's root,
// sections (subkeys) below it, and named values in a section that are either
// text or of some other type. Windows uses HKEY_CURRENT_USER itself; the
// native build keeps the same keys, sections, names and types in files. The
// store only reports what happened; the window logic decides which outcome
// is an error and words the message, so both builds fail alike.
#pragma once

#include <memory>
#include <string>

namespace orva::platform {

// How sections are opened: reading leaves everything as it is.
enum class SettingsAccess { kRead, kAll };

struct SettingsValue {
  enum class Kind {
    kAbsent,       // no value of that name
    kText,         // a text value; `text` holds it up to its first NUL
    kOtherType,    // a value that exists but is not text
    kQueryFailed,  // the value exists but could not be read
  };
  Kind kind = Kind::kAbsent;
  std::string text;
};

// An open section; destroying it closes it.
class SettingsSection {
 public:
  virtual ~SettingsSection() = default;

  virtual SettingsValue Read(const std::string& name) = 0;
  // Writes `text` as a text value, replacing any value of that name. False
  // when it could not be written; the value is then unchanged.
  virtual bool WriteText(const std::string& name, const std::string& text) = 0;
};

// An open application key; destroying it closes it.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // Creates the section below this key when it is missing and closes it
  // again at once. False when it can neither be opened nor created.
  virtual bool CreateSection(const std::string& name) = 0;
  // Opens an existing section with the access the key was opened for; null
  // when it is missing or cannot be opened.
  virtual std::unique_ptr<SettingsSection> OpenSection(const std::string& name) = 0;
};

// Opens the application key (e.g. "Software\Logger", parts separated by
// "\") below the per-user root, creating it when missing; reading creates it
// too. `access` is what its sections are opened with later. Null when the
// key can neither be opened nor created: nothing is then read or written.
std::unique_ptr<SettingsKey> OpenApplicationKey(const std::string& path, SettingsAccess access);

}  // namespace orva::platform
