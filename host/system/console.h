// What the tools ask of the system they run on, apart from the plug-in: the
// command line's words, the files it names ("-" standard input or output)
// and the paths the system opens them by, and how a run ends. One file per system answers
// (console_native.cpp, console_win32.cpp); the rest of the host is the same
// on both.
//
// On Windows the words come in the user's ANSI code page, as the native tool
// takes bytes; a file name the code page cannot spell is still opened by its
// own (wide-character) name, and named by it, as UTF-8 (NameOfFile). "/?"
// asks for the help. Text goes out with the console's CR LF line ends, the
// bytes of a file made for standard output as they are.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orva::host {

// Starts a run: the command line's words after the program's name. On
// Windows the system is also told never to raise a message box for this
// process (a drive without its disk, a crash): the tools only print.
std::vector<std::string> BeginRun(int argc, char** argv);

// 0 when `bytes` holds the file the user named at `path`, or its first
// `size` bytes, else the errno of what failed. "-" is standard input, which
// can be read only once: it is kept, and a second read gives the same bytes.
int ReadUserInput(const std::string& path, std::string& bytes,
                  std::size_t size = std::string::npos);

// The name of a file the user named, as the tools write it (file_names.h):
// "standard input" for "-"; natively the bytes as given; on Windows the wide
// name as the user gave it, in UTF-8.
std::string NameOfFile(const std::string& path);

// What each system answers for ReadUserInput: a file by the name the command
// line gave (never "-"), and the whole of standard input as bytes.
int ReadFileAsNamed(const std::string& path, std::string& bytes, std::size_t size);
int ReadStandardInput(std::string& bytes);

// Switches a standard stream to pass bytes unchanged for as long as the
// object lives (on Windows; elsewhere bytes always pass): a file's bytes
// written to standard output as they are, a log read from standard input.
class BinaryStream {
 public:
  explicit BinaryStream(std::FILE* stream);
  ~BinaryStream();
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

 private:
  std::FILE* stream_;
  int previous_;
};

// Writes a piece of text as printing it would, its lines ended as the
// system ends text lines (CR LF on Windows), in one write: Windows' C
// runtime would turn each line end alone, which costs the explanation of a
// large log more than its scoring. A Windows console, which would read the
// bytes in its own code page, is given the characters instead: UTF-8 (the
// names of files) where the text is well-formed UTF-8, else the ANSI code
// page's (the log's texts).
void WriteText(std::FILE* stream, std::string_view text);

// Writes a file made for the user whole: for "-" its own bytes to standard
// output, else in place of the file at `path`, which a failure leaves as it
// was. A failure raises "cannot write <file>: <reason>", the file named as
// NameOfFile names it and standard output as "standard output".
void WriteUserFile(const std::string& path, std::string_view bytes);

// The path by which the system opens a file the user named (never "-"), as
// the platform layer takes it (platform/user_file.h): natively the bytes as
// given; on Windows the wide name as the user gave it.
std::filesystem::path SystemPath(const std::string& path);

// Waits for Enter before a run ends when its console window was opened for
// it alone (a file dropped on orva-host.exe in Explorer), so that its user
// can read what it printed; never from a shell, a script or without a console.
void HoldOwnConsoleOpen();

}  // namespace orva::host
