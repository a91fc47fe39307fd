// orva-host.exe started as Windows starts it, each way it waits or not:
// a log dropped on it with no console at all (its standard input a pipe that
// never ends, so that a wait would never return) scores and ends; run from
// cmd.exe in a console of its own it ends; started alone in a new console,
// as Explorer starts it for a dropped file, it keeps the window open until
// Enter is pressed in it.
//
// Usage: host_console_test <orva-host.exe> <log> <scratch file>, the last
// for what the run without a console prints. Prints one line per check and
// exits with 0 only when every check passed.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int failedChecks = 0;

void Check(bool passed, const std::string& what) {
  std::printf("%s %s\n", passed ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  failedChecks += passed ? 0 : 1;
}

constexpr DWORD kEndsWithin = 60'000;   // ms: Wine may start slowly
constexpr DWORD kStillWaiting = 3'000;  // ms: long enough to have scored

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

struct Child {
  PROCESS_INFORMATION process{};
  bool started = false;

  ~Child() {
    if (started) {
      TerminateProcess(process.hProcess, 99);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }

  bool Start(std::string commandLine, DWORD flags, STARTUPINFOA& startup, BOOL inherit) {
    started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, nullptr,
                             nullptr, &startup, &process) != 0;
    return started;
  }

  // False when it still runs after `milliseconds`; else true, with its exit
  // status.
  bool EndsWithin(DWORD milliseconds, DWORD& status) {
    if (WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0) {
      return false;
    }
    GetExitCodeProcess(process.hProcess, &status);
    return true;
  }
};

// No console at all: standard input a pipe whose writing end stays open,
// standard output a file, which then holds the score.
void DroppedWithoutConsole(const std::string& host, const std::string& log,
                           const std::string& outputPath) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &inheritable, 0);
  SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = readEnd;
  startup.hStdOutput = output;
  startup.hStdError = output;
  Child child;
  DWORD status = 99;
  Check(child.Start(Quoted(host) + " " + Quoted(log), DETACHED_PROCESS, startup, TRUE),
        "orva-host.exe starts without a console");
  const bool ended = child.EndsWithin(kEndsWithin, status);
  Check(ended && status == 0,
        "a dropped log without a console is scored and the run ends (status " +
            std::to_string(status) + ")");
  CloseHandle(output);
  CloseHandle(readEnd);
  CloseHandle(writeEnd);
  char text[4096] = {};
  FILE* file = std::fopen(outputPath.c_str(), "rb");
  const std::size_t size = file ? std::fread(text, 1, sizeof text - 1, file) : 0;
  if (file) {
    std::fclose(file);
  }
  Check(std::string(text, size).find(" Score: ") != std::string::npos,
        "it printed the score:\n" + std::string(text, size));
  DeleteFileA(outputPath.c_str());
}

void FromCmdInNewConsole(const std::string& host, const std::string& log) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Child child;
  DWORD status = 99;
  Check(child.Start("cmd.exe /c " + Quoted(Quoted(host) + " " + Quoted(log)), CREATE_NEW_CONSOLE,
                    startup, FALSE),
        "cmd.exe starts in a new console");
  const bool ended = child.EndsWithin(kEndsWithin, status);
  Check(ended && status == 0, "run from cmd.exe, it shares the console and does not wait (status " +
                                  std::to_string(status) + ")");
}

bool PressEnterIn(DWORD processId) {
  FreeConsole();
  if (!AttachConsole(processId)) {
    return false;
  }
  HANDLE input =
      CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  INPUT_RECORD keys[2] = {};
  for (int i = 0; i < 2; ++i) {
    keys[i].EventType = KEY_EVENT;
    keys[i].Event.KeyEvent.bKeyDown = i == 0;
    keys[i].Event.KeyEvent.wRepeatCount = 1;
    keys[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
    keys[i].Event.KeyEvent.uChar.AsciiChar = '\r';
  }
  DWORD written = 0;
  const bool pressed = WriteConsoleInputA(input, keys, 2, &written) && written == 2;
  CloseHandle(input);
  FreeConsole();
  return pressed;
}

void DroppedInOwnConsole(const std::string& host, const std::string& log) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Child child;
  DWORD status = 99;
  Check(child.Start(Quoted(host) + " " + Quoted(log), CREATE_NEW_CONSOLE, startup, FALSE),
        "orva-host.exe starts in a console of its own");
  Check(!child.EndsWithin(kStillWaiting, status),
        "in a console of its own it waits for Enter after scoring");
  Check(PressEnterIn(child.process.dwProcessId), "Enter is pressed in its console");
  const bool ended = child.EndsWithin(kEndsWithin, status);
  Check(ended && status == 0, "after Enter the run ends (status " + std::to_string(status) + ")");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: host_console_test ORVA-HOST.EXE LOG SCRATCH-FILE\n");
    return 2;
  }
  DroppedWithoutConsole(argv[1], argv[2], argv[3]);
  FromCmdInNewConsole(argv[1], argv[2]);
  DroppedInOwnConsole(argv[1], argv[2]);
  return failedChecks == 0 ? 0 : 1;
}
