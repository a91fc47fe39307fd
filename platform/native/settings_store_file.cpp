// The settings store on the native build: the registry's keys, sections and
// values kept in small per-user files, so the window placement survives
// between runs exactly as it does on Windows.
//
// Where: the per-user root is $XDG_CONFIG_HOME/orva when XDG_CONFIG_HOME is
// an absolute path, else $HOME/.config/orva. An application key such as
// "Software\Logger" is the directory <root>/Software/Logger (made with mode
// 0700); its section "TfmMainForm" is the file
// <root>/Software/Logger/TfmMainForm.values (mode 0600).
//
// File format, bytes, every line ending in "\n" (the last one too):
//   orva-settings 1
//   <type>:<name>=<data>        one line per value
// <type> is "sz" for text or "dword" for a decimal number from 0 to
// 4294967295, which stands for every value that is not text. In <name> and
// <data> the bytes "%", "=", 0x00 to 0x1F and 0x7F are written as "%" and two
// upper-case hex digits; nothing else is escaped. Values keep the order in
// which they were first written; writing a value again replaces it in place.
//
// Reading and writing go through the application key, which holds each
// section it uses for as long as it is open: the file is read once, when the
// key first looks at the section, and every read after comes from what was
// read; writes (and the making of a missing section) change only what the key
// holds, and closing the key writes each section that changed, once. So the
// window's save of ten values reads its file once and writes it once. A
// section still open after its key was closed writes each value at once.
//
// Writing a file: the whole file is written anew beside the old one, flushed
// to disk and renamed over it, then the directory is flushed, so a crash at
// any moment leaves either the old file or the new one, never a mixture.
//
// Failing: a write held by an open key cannot fail yet, so it is accepted;
// whether it was stored is known only when the key is closed. Close() then
// names the first value of the section that could not be written (or tells
// that a section that was missing could not be made), and the key goes back
// to what the file holds, so nothing reads as stored that is not. A key
// destroyed without Close() writes what it holds all the same, but can tell
// nobody when that fails; callers that write close the key themselves.
//
// Damage: a file that does not start with the header line, or is larger than
// any section could be, holds no values; a line that does not parse (cut off
// without its "\n", unknown type, bad escape, bad number, a name seen before)
// is skipped. What is skipped reads as absent. The section only holds a
// window placement that the next close writes afresh, so reading damage as
// absent brings the window up at its designed place and heals the file;
// reporting it instead would, because a failed read stops all writes, repeat
// the error at every start until someone repaired the file by hand. Nothing
// of a damaged file is thrown away: the first time the file is written after
// (the first close of a key that wrote to it, or a write through a section
// whose key is closed) the old file is kept as <file>.damaged.
//
// In memory: a host whose run stands for no logging program (scoring a file
// once) asks for the settings to be kept in memory
// (orva_keep_settings_in_memory). The files the store would read and write
// are then texts held for the run, under the same paths: the store behaves as
// it does on disk, and the user's settings folder is neither read nor made.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/native/file_replace.h"
#include "platform/native/orva_native.h"
#include "platform/settings_store.h"

namespace orva::platform {

namespace {

constexpr std::string_view kHeader = "orva-settings 1\n";
constexpr std::string_view kSectionSuffix = ".values";
constexpr std::string_view kDamagedSuffix = ".damaged";
constexpr std::string_view kTextType = "sz";
constexpr std::string_view kNumberType = "dword";
// A section holds a handful of short values; anything this big is not one.
constexpr std::size_t kMaxFileSize = 1 << 20;

struct Entry {
  std::string name;
  bool isText = true;
  std::string data;
};

// The section files by path while the settings are kept in memory; null
// while they are kept on disk.
std::unique_ptr<std::map<std::string, std::string>>& MemoryFiles() {
  static std::unique_ptr<std::map<std::string, std::string>> files;
  return files;
}

// --- Names and paths -------------------------------------------------------

std::optional<std::string> ConfigHome() {
  if (MemoryFiles()) {
    return std::string("(memory)");  // the paths then only name texts in memory
  }
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') {
    return std::string(config);
  }
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') {
    return std::string(home) + "/.config";
  }
  return std::nullopt;
}

// A name that stays one entry of its directory.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::optional<std::vector<std::string>> KeyParts(std::string_view path) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    const std::size_t cut = std::min(path.find('\\'), path.size());
    const std::string_view part = path.substr(0, cut);
    path.remove_prefix(std::min(cut + 1, path.size()));
    if (part.empty()) {
      continue;
    }
    if (!IsPlainName(part)) {
      return std::nullopt;
    }
    parts.emplace_back(part);
  }
  return parts;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(const std::string& path) {
  return mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && IsDirectory(path));
}

// --- Encoding --------------------------------------------------------------

bool NeedsEscape(char c) {
  return IsControl(c) || c == '%' || c == '=';
}

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (NeedsEscape(c)) {
      out += '%';
      AppendHex(out, c);
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      if (NeedsEscape(text[i])) {
        return std::nullopt;
      }
      out += text[i];
      continue;
    }
    const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

bool IsNumberText(std::string_view text) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  return std::stoull(std::string(text)) <= UINT32_MAX;
}

std::optional<Entry> ParseLine(std::string_view line) {
  const std::size_t colon = line.find(':');
  const std::size_t equals = line.find('=', colon);
  if (colon == std::string_view::npos || equals == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view type = line.substr(0, colon);
  auto name = Unescape(line.substr(colon + 1, equals - colon - 1));
  auto data = Unescape(line.substr(equals + 1));
  if (!name || !data) {
    return std::nullopt;
  }
  if (type == kTextType) {
    return Entry{std::move(*name), true, std::move(*data)};
  }
  if (type == kNumberType && IsNumberText(*data)) {
    return Entry{std::move(*name), false, std::move(*data)};
  }
  return std::nullopt;
}

template <typename Entries>
auto* Find(Entries& entries, std::string_view name) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [name](const Entry& entry) { return entry.name == name; });
  return found == entries.end() ? nullptr : &*found;
}

struct ParsedFile {
  std::vector<Entry> entries;
  bool damaged = false;
};

ParsedFile Parse(std::string_view bytes) {
  ParsedFile file;
  if (!bytes.starts_with(kHeader)) {
    file.damaged = true;
    return file;
  }
  bytes.remove_prefix(kHeader.size());
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::optional<Entry> entry =
        end == std::string_view::npos ? std::nullopt : ParseLine(bytes.substr(0, end));
    if (entry && !Find(file.entries, entry->name)) {
      file.entries.push_back(std::move(*entry));
    } else {
      file.damaged = true;
    }
    bytes.remove_prefix(std::min(end, bytes.size() - 1) + 1);
  }
  return file;
}

std::string Format(const std::vector<Entry>& entries) {
  std::string bytes(kHeader);
  for (const Entry& entry : entries) {
    bytes += entry.isText ? kTextType : kNumberType;
    bytes += ':' + Escape(entry.name) + '=' + Escape(entry.data) + '\n';
  }
  return bytes;
}

// --- Files -----------------------------------------------------------------

// What a key found where a section's file belongs, looked at once.
enum class SectionDisk {
  kMissing,     // nothing: the section can be made
  kFile,        // a file that was read
  kUnreadable,  // a file that cannot be read: it exists, but cannot be opened
  kNoFile,      // something else, or nothing that can even be looked at
};

struct SectionFile {
  SectionDisk disk = SectionDisk::kMissing;
  ParsedFile parsed;  // what a kFile holds
};

// Reads a section's file, with one open in the usual cases. Never blocks:
// whatever lies there, a pipe included, is read only if it is a file.
SectionFile ReadSectionFile(const std::string& path) {
  if (const auto& memory = MemoryFiles()) {
    const auto file = memory->find(path);
    return file == memory->end() ? SectionFile{SectionDisk::kMissing, {}}
                                 : SectionFile{SectionDisk::kFile, Parse(file->second)};
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) {
      return {SectionDisk::kMissing, {}};
    }
    struct stat info {};
    const bool isFile = stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    return {isFile ? SectionDisk::kUnreadable : SectionDisk::kNoFile, {}};
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return {SectionDisk::kNoFile, {}};
  }
  bool readable = true;
  std::string bytes;
  char chunk[4096];
  while (bytes.size() <= kMaxFileSize) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) {
      break;
    }
    if (got > 0) {
      bytes.append(chunk, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      readable = false;
      break;
    }
  }
  close(fd);
  if (!readable) {
    return {SectionDisk::kUnreadable, {}};
  }
  return {SectionDisk::kFile, bytes.size() > kMaxFileSize ? ParsedFile{{}, true} : Parse(bytes)};
}

// Puts `bytes` in place of the file at `path` so that readers see either the
// old file or the whole new one. A damaged old file is kept aside.
bool ReplaceFile(const std::string& path, std::string_view bytes, bool keepOld) {
  if (auto& memory = MemoryFiles()) {
    (*memory)[path] = bytes;
    return true;
  }
  ReplaceOptions options;
  if (keepOld) {
    options.keepOldAs = path + std::string(kDamagedSuffix);
  }
  return ReplaceFileWhole(path, bytes, options) == 0;
}

// --- The store -------------------------------------------------------------

void Put(std::vector<Entry>& entries, const std::string& name, const std::string& text) {
  if (Entry* existing = Find(entries, name)) {
    *existing = Entry{name, true, text};
  } else {
    entries.push_back(Entry{name, true, text});
  }
}

// A section as the key that looked at it holds it.
struct HeldSection {
  std::string name;
  std::string path;
  SectionFile file;                      // what is on disk, as far as the key knows
  std::vector<Entry> entries;            // what reads see: the file and the writes held
  bool held = false;                     // `entries` (or the making) wait for the close
  bool making = false;                   // the section was missing; the close makes it
  std::optional<std::string> firstHeld;  // the first value written since
};

// The application key's state, shared with the sections it opened, which
// may outlive it.
struct KeyState {
  std::string directory;
  SettingsAccess access;
  bool open = true;
  std::list<HeldSection> sections;  // in the order first used; never move
};

// Writes `section` to its file as held; on failure goes back to the file.
bool StoreSection(HeldSection& section) {
  section.held = false;
  const bool made = section.making;
  section.making = false;
  section.firstHeld.reset();
  if (!ReplaceFile(section.path, Format(section.entries), section.file.parsed.damaged)) {
    section.entries = section.file.parsed.entries;
    if (made) {
      section.file.disk = SectionDisk::kMissing;
    }
    return false;
  }
  section.file = {SectionDisk::kFile, ParsedFile{section.entries, false}};
  return true;
}

class FileSection : public SettingsSection {
 public:
  FileSection(std::shared_ptr<KeyState> key, HeldSection& section)
      : key_(std::move(key)), section_(section) {}

  SettingsValue Read(const std::string& name) override {
    const Entry* entry = Find(section_.entries, name);
    if (!entry) {
      return {SettingsValue::Kind::kAbsent, {}};
    }
    if (!entry->isText) {
      return {SettingsValue::Kind::kOtherType, {}};
    }
    return {SettingsValue::Kind::kText, entry->data.substr(0, entry->data.find('\0'))};
  }

  bool WriteText(const std::string& name, const std::string& text) override {
    if (key_->access != SettingsAccess::kAll) {
      return false;
    }
    if (key_->open) {
      Put(section_.entries, name, text);
      section_.held = true;
      if (!section_.firstHeld) {
        section_.firstHeld = name;
      }
      return true;
    }
    // No key holds the value: it is written at once, and on failure the
    // section goes back to what the file holds.
    Put(section_.entries, name, text);
    return StoreSection(section_);
  }

 private:
  std::shared_ptr<KeyState> key_;
  HeldSection& section_;
};

class FileKey : public SettingsKey {
 public:
  FileKey(std::string directory, SettingsAccess access)
      : state_(std::make_shared<KeyState>(KeyState{std::move(directory), access, true, {}})) {}
  ~FileKey() override {
    try {
      Close();
    } catch (...) {
      // Nothing can be told from here; callers that write close first.
    }
  }
  FileKey(const FileKey&) = delete;
  FileKey& operator=(const FileKey&) = delete;

  bool CreateSection(const std::string& name) override {
    if (!state_->open || !IsPlainName(name)) {
      return false;
    }
    HeldSection& section = Section(name);
    switch (section.file.disk) {
      case SectionDisk::kFile:
      case SectionDisk::kUnreadable:
        return true;
      case SectionDisk::kNoFile:
        return false;
      case SectionDisk::kMissing:
        break;
    }
    // Made when the key is closed, with whatever was written to it by then.
    section.file = {SectionDisk::kFile, {}};
    section.entries.clear();
    section.making = true;
    section.held = true;
    return true;
  }

  std::unique_ptr<SettingsSection> OpenSection(const std::string& name) override {
    if (!state_->open || !IsPlainName(name)) {
      return nullptr;
    }
    HeldSection& section = Section(name);
    if (section.file.disk != SectionDisk::kFile) {
      return nullptr;
    }
    return std::make_unique<FileSection>(state_, section);
  }

  std::optional<SettingsLoss> Close() override {
    if (!state_->open) {
      return std::nullopt;
    }
    state_->open = false;
    std::optional<SettingsLoss> loss;
    for (HeldSection& section : state_->sections) {
      if (!section.held) {
        continue;
      }
      SettingsLoss lost{section.name, section.firstHeld.value_or(""), section.making};
      if (!StoreSection(section) && !loss) {
        loss = std::move(lost);
      }
    }
    return loss;
  }

 private:
  // The section as this key holds it; its file is read the first time.
  HeldSection& Section(const std::string& name) {
    for (HeldSection& section : state_->sections) {
      if (section.name == name) {
        return section;
      }
    }
    std::string path = state_->directory + '/' + name + std::string(kSectionSuffix);
    SectionFile file = ReadSectionFile(path);
    std::vector<Entry> entries = file.parsed.entries;
    return state_->sections.emplace_back(
        HeldSection{name, std::move(path), std::move(file), std::move(entries), false, false, {}});
  }

  std::shared_ptr<KeyState> state_;
};

}  // namespace

std::unique_ptr<SettingsKey> OpenApplicationKey(const std::string& path, SettingsAccess access) {
  const std::optional<std::string> configHome = ConfigHome();
  std::optional<std::vector<std::string>> parts = KeyParts(path);
  if (!configHome || !parts) {
    return nullptr;
  }
  parts->insert(parts->begin(), "orva");
  std::string directory = *configHome;
  std::string keyDirectory = directory;
  for (const std::string& part : *parts) {
    keyDirectory += '/' + part;
  }
  // Usually there from an earlier read or write: then nothing is made.
  if (MemoryFiles() || IsDirectory(keyDirectory)) {
    return std::make_unique<FileKey>(std::move(keyDirectory), access);
  }
  if (!MakeDirectory(directory)) {
    return nullptr;
  }
  for (const std::string& part : *parts) {
    directory += '/' + part;
    if (!MakeDirectory(directory)) {
      return nullptr;
    }
  }
  return std::make_unique<FileKey>(std::move(directory), access);
}

}  // namespace orva::platform

extern "C" void orva_keep_settings_in_memory(int inMemory) {
  orva::platform::MemoryFiles() =
      inMemory ? std::make_unique<std::map<std::string, std::string>>() : nullptr;
}
