// orva-host.exe's dealings with Windows. The command line is read in wide
// characters and handed on in the user's ANSI code page, the bytes the rest
// of the tools (and the logs) speak; a word the code page cannot spell keeps
// its wide form here, by which its file is opened and, as UTF-8, named.
// Standard streams are in the C runtime's text mode, so text lines end with
// CR LF in the console and in files it is redirected to; bytes meant as they
// are switch a stream to binary mode for as long as they pass. A console is
// given wide characters, which it shows whatever its own code page.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "host/system/console.h"
#include "host/system/file_names.h"

namespace orva::host {
namespace {

// The words the ANSI code page cannot spell: as the rest of the tools see
// them (with "?"), and as the user gave them.
std::vector<std::pair<std::string, std::wstring>>& WideWords() {
  static std::vector<std::pair<std::string, std::wstring>> words;
  return words;
}

// `wide` in the ANSI code page; `exact` false when a character had to be
// replaced. A UTF-8 code page spells everything and takes no flags.
std::string InCodePage(const std::wstring& wide, bool& exact) {
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL replaced = FALSE;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr,
                                       utf8 ? nullptr : &replaced);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), length, text.data(), size, nullptr,
                      utf8 ? nullptr : &replaced);
  exact = !replaced;
  return text;
}

std::wstring Widened(UINT codePage, std::string_view text) {
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::wstring FromCodePage(const std::string& text) {
  return Widened(CP_ACP, text);
}

std::string InUtf8(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

// The characters of a text for a console: runs of well-formed UTF-8 (the
// names of files) as UTF-8, the other bytes (a log's texts) in the ANSI code
// page, a double-byte character's two bytes together.
std::wstring ForConsole(std::string_view text) {
  std::wstring wide;
  for (std::size_t at = 0; at < text.size();) {
    const bool utf8 = Utf8SequenceLength(text, at) != 0;
    std::size_t end = at;
    while (end < text.size() && (Utf8SequenceLength(text, end) != 0) == utf8) {
      const bool pair = !utf8 && IsDBCSLeadByte(static_cast<BYTE>(text[end]));
      end = std::min(text.size(), end + (utf8 ? Utf8SequenceLength(text, end) : pair ? 2 : 1));
    }
    wide += Widened(utf8 ? CP_UTF8 : CP_ACP, text.substr(at, end - at));
    at = end;
  }
  return wide;
}

// The console a stream writes to; none for a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Writes to a console in pieces: older consoles refuse one large write.
void WriteConsoleText(HANDLE console, std::string_view text) {
  constexpr std::size_t kPiece = 8192;
  const std::wstring wide = ForConsole(text);
  for (std::size_t at = 0; at < wide.size(); at += kPiece) {
    DWORD written = 0;
    WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(std::min(kPiece, wide.size() - at)),
                  &written, nullptr);
  }
}

// The name of a file as the user gave it.
std::wstring WideName(const std::string& path) {
  for (const auto& [shown, wide] : WideWords()) {
    if (shown == path) {
      return wide;
    }
  }
  return FromCodePage(path);
}

// Reads `file` up to `size` bytes into `bytes`; 0, else the errno.
int ReadStream(std::FILE* file, std::string& bytes, std::size_t size) {
  constexpr std::size_t kStep = 1 << 16;
  std::size_t read = 0;
  bytes.clear();
  do {
    bytes.resize(read + std::min(kStep, size - read));
    read += std::fread(bytes.data() + read, 1, bytes.size() - read, file);
  } while (read == bytes.size() && read < size);
  bytes.resize(read);
  return std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
}

}  // namespace

std::vector<std::string> BeginRun(int, char**) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> words;
  for (int i = 1; wide && i < count; ++i) {
    bool exact = true;
    std::string word = InCodePage(wide[i], exact);
    if (!exact) {
      WideWords().emplace_back(word, wide[i]);
    }
    words.push_back(word == "/?" ? "--help" : std::move(word));
  }
  LocalFree(wide);
  return words;
}

std::string NameOfFile(const std::string& path) {
  return path == "-" ? kStandardInputName : InUtf8(WideName(path));
}

int ReadFileAsNamed(const std::string& path, std::string& bytes, std::size_t size) {
  std::FILE* file = _wfopen(WideName(path).c_str(), L"rb");
  if (!file) {
    return errno;
  }
  const int error = ReadStream(file, bytes, size);
  std::fclose(file);
  return error;
}

int ReadStandardInput(std::string& bytes) {
  const BinaryStream binary(stdin);
  return ReadStream(stdin, bytes, std::string::npos);
}

// What was written before, in the other mode, goes out first; standard
// input is switched before anything is read from it.
BinaryStream::BinaryStream(std::FILE* stream) : stream_(stream) {
  if (stream_ != stdin) {
    std::fflush(stream_);
  }
  previous_ = _setmode(_fileno(stream_), _O_BINARY);
}

BinaryStream::~BinaryStream() {
  if (stream_ != stdin) {
    std::fflush(stream_);
  }
  if (previous_ != -1) {
    _setmode(_fileno(stream_), previous_);
  }
}

void WriteText(std::FILE* stream, std::string_view text) {
  std::string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') {
      lines += '\r';
    }
    lines += c;
  }
  if (const HANDLE console = ConsoleOf(stream)) {
    std::fflush(stream);
    WriteConsoleText(console, lines);
    return;
  }
  const BinaryStream binary(stream);
  std::fwrite(lines.data(), 1, lines.size(), stream);
}

std::filesystem::path SystemPath(const std::string& path) {
  return WideName(path);
}

void HoldOwnConsoleOpen() {
  DWORD processes[2];
  DWORD mode = 0;
  // A console shared with cmd.exe or PowerShell lists them too; input that
  // is no console (a pipe, a file, none) has no one to press Enter.
  if (GetConsoleProcessList(processes, 2) != 1 ||
      !GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) {
    return;
  }
  std::fflush(stdout);
  std::fputs("\nPress Enter to close this window.", stderr);
  for (int c = std::getchar(); c != '\n' && c != EOF;) {
    c = std::getchar();
  }
}

}  // namespace orva::host
