// The native tool's dealings with its system: the words and file names are
// bytes as the shell passed them, streams pass bytes unchanged, files are
// read by the native platform layer, and a run never waits: a terminal stays
// open after it.
#include "host/system/console.h"
#include "host/system/file_names.h"
#include "platform/native/file_read.h"

namespace orva::host {

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

std::filesystem::path SystemPath(const std::string& path) {
  return path;
}

void HoldOwnConsoleOpen() {}

}  // namespace orva::host
