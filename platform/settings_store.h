// The per-user settings store that keeps the statistics window's placement.
//
// Its shape is the registry's: an application key below the user's root,
// sections (subkeys) below it, and named values in a section that are either
// text or of some other type. Windows uses HKEY_CURRENT_USER itself; the
// native build keeps the same keys, sections, names and types in files. The
// store only reports what happened; the window logic decides which outcome
// is an error and words the message, so both builds fail alike.
//
// A store may hold what is written until the application key is closed, and
// store it then in one go: the file store does, so that a save of ten values
// writes each file once. Closing the key explicitly (SettingsKey::Close) is
// how the caller learns whether that worked.
#pragma once

#include <memory>
#include <optional>
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
  // Writes `text` as a text value, replacing any value of that name; reading
  // it gives the new text from then on. True when the value is stored, or,
  // while the key that opened the section is still open, when the key holds
  // it to store at its close, whose result then says whether it was. False
  // when it could not be written; the value is then unchanged.
  virtual bool WriteText(const std::string& name, const std::string& text) = 0;
};

// What closing a key could not store, the first of it in the order of
// writing: the section and the value of it written first since the key was
// opened. `sectionMissing` when the section did not exist before and could
// not be made either; `name` is then empty when nothing was written to it.
struct SettingsLoss {
  std::string section;
  std::string name;
  bool sectionMissing = false;
};

// An open application key. Destroying it closes it as Close() does, but
// without a word about what could not be stored: a caller that writes closes
// the key itself first.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // Creates the section below this key when it is missing and closes it
  // again at once. False when it can neither be opened nor created. The
  // making of a missing section may be held for the close like a write.
  virtual bool CreateSection(const std::string& name) = 0;
  // Opens an existing (or just created) section with the access the key was
  // opened for; null when it is missing or cannot be opened. A section may
  // stay open after its key is closed; it then stores each write at once.
  virtual std::unique_ptr<SettingsSection> OpenSection(const std::string& name) = 0;
  // Closes the key: stores what it holds, and tells what of it could not be
  // stored (nothing when all was). After that the key opens and creates
  // nothing, and closing again does nothing.
  virtual std::optional<SettingsLoss> Close() = 0;
};

// Opens the application key (e.g. "Software\Logger", parts separated by
// "\") below the per-user root, creating it when missing; reading creates it
// too. `access` is what its sections are opened with later. Null when the
// key can neither be opened nor created: nothing is then read or written.
std::unique_ptr<SettingsKey> OpenApplicationKey(const std::string& path, SettingsAccess access);

}  // namespace orva::platform
