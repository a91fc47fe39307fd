// The native tool's dealings with its system: the words and file names are
// bytes as the shell passed them, streams pass bytes unchanged, files are
// read and replaced by the native platform layer (a new file with the
// permissions the user's umask gives), and a run never waits: a terminal
// stays open after it.
#include <sys/stat.h>

#include <cstring>

#include "host/system/console.h"
#include "host/system/file_names.h"
#include "platform/native/file_read.h"
#include "platform/native/file_replace.h"

namespace orva::host {
namespace {

// The permissions a new file of the user's gets: what the umask lets through.
mode_t WithUmask(mode_t permissions) {
  const mode_t mask = umask(0);
  umask(mask);
  return permissions & ~mask;
}

}  // namespace

std::vector<std::string> BeginRun(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string NameOfFile(const std::string& path) {
  return path == "-" ? kStandardInputName : path;
}

int ReadFileAsNamed(const std::string& path, std::string& bytes, std::size_t size) {
  return platform::ReadFileHead(path, bytes, size);
}

int ReadStandardInput(std::string& bytes) {
  return platform::ReadFileWhole("/dev/stdin", bytes);
}

BinaryStream::BinaryStream(std::FILE* stream) : stream_(stream), previous_(0) {}

BinaryStream::~BinaryStream() = default;

void WriteText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

std::string ReplaceFileWhole(const std::string& path, std::string_view bytes) {
  const int failure = platform::ReplaceFileWhole(path, bytes, {WithUmask(0666), {}});
  return failure == 0 ? std::string() : std::strerror(failure);
}

void HoldOwnConsoleOpen() {}

}  // namespace orva::host
