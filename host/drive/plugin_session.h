// The plug-in driven as a logging program drives it: the library loaded with
// dlopen and its six exports, the exchange record the host fills, and the
// host's command language, each command answered on standard output and the
// headless window's message queue run after it.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace orva::host {

struct Plugin {
  void (*GetInfo)(void*);
  std::uintptr_t (*Run)(std::int32_t, const void*);
  std::int32_t (*AddQSO)(const void*);
  std::int32_t (*GetScore)(const void*);
  void (*GrabNumber)(const void*, void*);
  void (*Release)();
};

// Loads the plug-in library and finds its exports; raises a HostFailure with
// the reason when it cannot.
Plugin LoadPlugin(const std::string& path);

// Prints every error box once, as it shows, as "error-box CAPTION: TEXT" on
// one stream, and counts them; listens for as long as it lives.
class ErrorBoxPrinter {
 public:
  explicit ErrorBoxPrinter(std::ostream& out);
  ~ErrorBoxPrinter();
  ErrorBoxPrinter(const ErrorBoxPrinter&) = delete;
  ErrorBoxPrinter& operator=(const ErrorBoxPrinter&) = delete;

  int Shown() const { return shown_; }

 private:
  static void Print(void* context, const char* caption, const char* text);

  std::ostream& out_;
  int shown_ = 0;
};

// What the host puts into the exchange record besides the QSO.
struct RecordContext {
  std::uint32_t connection = 0;
  std::string table = "LOG";
  std::string caption;
};

// The help's account of the commands RunCommands takes, their usage and
// what each does, read from the table that also runs them.
std::string CommandsHelp();

// Runs the host's commands (Session::kCommands in plugin_session.cpp lists
// them, each with the member that runs it), one per `separator`, until
// `input` ends or one says quit. A command's words are split on blanks (a
// quoted part keeps them) and a trailing CR is ignored; a command with
// missing or extra words is answered "error: ..." and does nothing.
void RunCommands(const Plugin& plugin, const RecordContext& context, std::istream& input,
                 char separator);

// Opens the window, which scores the whole log as it is first shown, and
// prints its report.
void PrintScore(const Plugin& plugin, const RecordContext& context);

}  // namespace orva::host
