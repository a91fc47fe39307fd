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
// Writing: the whole file is written anew beside the old one, flushed to disk
// and renamed over it, then the directory is flushed, so a crash at any
// moment leaves either the old file or the new one, never a mixture.
//
// Damage: a file that does not start with the header line, or is larger than
// any section could be, holds no values; a line that does not parse (cut off
// without its "\n", unknown type, bad escape, bad number, a name seen before)
// is skipped. What is skipped reads as absent. The section only holds a
// window placement that the next close writes afresh, so reading damage as
// absent brings the window up at its designed place and heals the file;
// reporting it instead would, because a failed read stops all writes, repeat
// the error at every start until someone repaired the file by hand. Nothing
// of a damaged file is thrown away: the first write after keeps the old file
// as <file>.damaged.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// --- Names and paths -------------------------------------------------------

std::optional<std::string> ConfigHome() {
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

bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '%' || c == '=';
}

std::string Escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
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
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte != '%') {
      if (NeedsEscape(byte)) {
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

// Reads a section file; nothing when it is missing or cannot be read.
std::optional<ParsedFile> ReadSectionFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return std::nullopt;
  }
  struct stat info {};
  bool readable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::string bytes;
  char chunk[4096];
  while (readable && bytes.size() <= kMaxFileSize) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) {
      break;
    }
    if (got > 0) {
      bytes.append(chunk, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      readable = false;
    }
  }
  close(fd);
  if (!readable) {
    return std::nullopt;
  }
  return bytes.size() > kMaxFileSize ? ParsedFile{{}, true} : Parse(bytes);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void FlushDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// Puts `bytes` in place of the file at `path` so that readers see either the
// old file or the whole new one. A damaged old file is kept aside.
bool ReplaceFile(const std::string& directory, const std::string& path, std::string_view bytes,
                 bool keepOld) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  const std::string damaged = path + std::string(kDamagedSuffix);
  const bool keptOld = !keepOld || rename(path.c_str(), damaged.c_str()) == 0 || errno == ENOENT;
  if (!written || !closed || !keptOld || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  FlushDirectory(directory);
  return true;
}

// --- The store -------------------------------------------------------------

class FileSection : public SettingsSection {
 public:
  FileSection(std::string directory, std::string path, SettingsAccess access, ParsedFile file)
      : directory_(std::move(directory)),
        path_(std::move(path)),
        access_(access),
        file_(std::move(file)) {}

  SettingsValue Read(const std::string& name) override {
    const Entry* entry = Find(file_.entries, name);
    if (!entry) {
      return {SettingsValue::Kind::kAbsent, {}};
    }
    if (!entry->isText) {
      return {SettingsValue::Kind::kOtherType, {}};
    }
    return {SettingsValue::Kind::kText, entry->data.substr(0, entry->data.find('\0'))};
  }

  bool WriteText(const std::string& name, const std::string& text) override {
    if (access_ != SettingsAccess::kAll) {
      return false;
    }
    std::vector<Entry> entries = file_.entries;
    Entry* existing = Find(entries, name);
    if (existing) {
      *existing = Entry{name, true, text};
    } else {
      entries.push_back(Entry{name, true, text});
    }
    if (!ReplaceFile(directory_, path_, Format(entries), file_.damaged)) {
      return false;
    }
    file_ = ParsedFile{std::move(entries), false};
    return true;
  }

 private:
  std::string directory_;
  std::string path_;
  SettingsAccess access_;
  ParsedFile file_;
};

class FileKey : public SettingsKey {
 public:
  FileKey(std::string directory, SettingsAccess access)
      : directory_(std::move(directory)), access_(access) {}

  bool CreateSection(const std::string& name) override {
    if (!IsPlainName(name)) {
      return false;
    }
    const std::string path = SectionPath(name);
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
      return S_ISREG(info.st_mode);
    }
    return errno == ENOENT && ReplaceFile(directory_, path, kHeader, false);
  }

  std::unique_ptr<SettingsSection> OpenSection(const std::string& name) override {
    if (!IsPlainName(name)) {
      return nullptr;
    }
    std::string path = SectionPath(name);
    std::optional<ParsedFile> file = ReadSectionFile(path);
    if (!file) {
      return nullptr;
    }
    return std::make_unique<FileSection>(directory_, std::move(path), access_, std::move(*file));
  }

 private:
  std::string SectionPath(const std::string& name) const {
    return directory_ + '/' + name + std::string(kSectionSuffix);
  }

  std::string directory_;
  SettingsAccess access_;
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
