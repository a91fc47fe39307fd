// Replacing a file the user named, on Windows: the new bytes go to a new file
// beside it, named by this process so that two runs never share one, which
// is flushed to the disk and moved over the old file by MoveFileExW, the one
// step that puts it in place. Every system call goes through the layer's
// table (system_calls.h), so that tests can fail each step. The C runtime's
// calls give their reason as an errno, the move as a system error code, each
// told in the words the system has for it.
#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/user_file.h"
#include "platform/win32/system_calls.h"

namespace orva::platform {
namespace {

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message(text ? text : "", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "system error " + std::to_string(error) : message;
}

// Writes `bytes` to a new file and to the disk; errno when a step failed. A
// write that takes no byte fails too (EIO), rather than be asked again and
// again.
int WriteNewFile(const std::wstring& path, std::string_view bytes) {
  const int file =
      os::Wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (file < 0) {
    return errno;
  }
  int failure = 0;
  for (std::size_t written = 0; written < bytes.size() && failure == 0;) {
    const unsigned chunk =
        static_cast<unsigned>(std::min<std::size_t>(bytes.size() - written, 1 << 20));
    const int count = os::Write(file, bytes.data() + written, chunk);
    failure = count < 0 ? errno : count == 0 ? EIO : 0;
    written += count > 0 ? static_cast<std::size_t>(count) : 0;
  }
  if (failure == 0 && os::Commit(file) != 0) {
    failure = errno;
  }
  if (os::Close(file) != 0 && failure == 0) {
    failure = errno;
  }
  return failure;
}

}  // namespace

std::string ReplaceUserFile(const std::filesystem::path& path, std::string_view bytes) {
  const std::wstring& target = path.native();
  const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
  if (const int failure = WriteNewFile(temporary, bytes)) {
    os::Wunlink(temporary.c_str());
    return std::strerror(failure);
  }
  if (!os::Move(temporary.c_str(), target.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    os::Wunlink(temporary.c_str());
    return SystemMessage(error);
  }
  return {};
}

}  // namespace orva::platform
