// The native command-line host: loads the plug-in with dlopen exactly as a
// logging program loads the DLL, opens an SQLite log through the native
// database layer, and drives the plug-in and its headless window with one
// command per line, letting the message queue run between commands.
//
//   orva-host [--plugin PATH] [--log FILE | --adif FILE | --cabrillo FILE] [--table NAME]
//             [--caption TEXT] [--score | -c 'CMD; CMD']
//
// Commands: info, run, add CALL BAND MODE EXCHANGE, score CALL BAND MODE
// EXCHANGE, grab CALL, report, recalc, minimize, close, logoff, release,
// state, bounds, move LEFT TOP RIGHT BOTTOM, quit. Every error box the
// plug-in shows is printed once, when it shows: among the commands' answers,
// or on standard error beside the report of --score.
//
// --adif and --cabrillo read another program's log into a temporary log
// database, so that the plug-in's own recalculation scores it; --score opens
// the window, prints its report and stops. Exit status: 0 when all went
// well, 1 when the score may be incomplete (records left out, no QSO in the
// file, an error box while scoring), 2 when nothing could be scored (bad
// options, a file or plug-in that cannot be opened).
#include <dlfcn.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"
#include "import/temporary_log_database.h"
#include "platform/native/orva_log.h"
#include "platform/native/orva_window.h"
#include "plugin/records.h"

namespace {

struct Plugin {
  void (*GetInfo)(void*);
  std::uintptr_t (*Run)(std::int32_t, const void*);
  std::int32_t (*AddQSO)(const void*);
  std::int32_t (*GetScore)(const void*);
  void (*GrabNumber)(const void*, void*);
  void (*Release)();
};

enum ExitStatus { kSucceeded = 0, kIncomplete = 1, kFailed = 2 };

struct Options {
  std::string plugin;
  std::string log;
  std::string adif;
  std::string cabrillo;
  std::string table = "LOG";
  std::string caption;
  std::string commands;
  bool haveCommands = false;
  bool score = false;
};

std::string BesideExecutable(const std::string& name) {
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", self.data(), self.size());
  self.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return self.substr(0, self.rfind('/') + 1) + name;
}

template <class F>
bool Resolve(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  if (!function) {
    std::cerr << "orva-host: the plug-in has no export " << name << "\n";
  }
  return function != nullptr;
}

bool LoadPlugin(const std::string& path, Plugin& plugin) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::cerr << "orva-host: cannot load the plug-in: " << dlerror() << "\n";
    return false;
  }
  return Resolve(library, "_GetInfo", plugin.GetInfo) && Resolve(library, "_Run", plugin.Run) &&
         Resolve(library, "_AddQSO", plugin.AddQSO) &&
         Resolve(library, "_GetScore", plugin.GetScore) &&
         Resolve(library, "_GrabNumber", plugin.GrabNumber) &&
         Resolve(library, "_Release", plugin.Release);
}

struct ErrorBoxes {
  std::ostream* out;
  int shown = 0;
};

void PrintErrorBox(void* context, const char* caption, const char* text) {
  auto& boxes = *static_cast<ErrorBoxes*>(context);
  *boxes.out << "error-box " << caption << ": " << text << "\n";
  ++boxes.shown;
}

std::string WindowText(std::uintptr_t window, ptrdiff_t (*read)(uintptr_t, char*, size_t)) {
  const ptrdiff_t length = read(window, nullptr, 0);
  std::string text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
  read(window, text.data(), text.size());
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

const char* StateName(int state) {
  switch (state) {
    case ORVA_STATE_HIDDEN:
      return "hidden";
    case ORVA_STATE_NORMAL:
      return "normal";
    case ORVA_STATE_MINIMIZED:
      return "minimized";
    case ORVA_STATE_MAXIMIZED:
      return "maximized";
    default:
      return "none";
  }
}

class Session {
 public:
  Session(const Plugin& plugin, const Options& options, std::uint32_t connection)
      : plugin_(plugin) {
    std::memset(&record_, 0, sizeof record_);
    record_.Connection = connection;
    record_.TableName.assign(options.table);
    record_.CaptionText.assign(options.caption);
  }

  // Runs one command line; false when the host should stop.
  bool Execute(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    if (!(words >> command)) {
      return true;
    }
    if (command == "quit" || command == "exit") {
      return false;
    }
    std::string rest;
    std::getline(words >> std::ws, rest);
    Dispatch(command, rest);
    orva_pump();
    return true;
  }

  // Opens the window, which scores the whole log as it is first shown, and
  // prints its report.
  void Score() {
    window_ = plugin_.Run(0, &record_);
    orva_pump();
    PrintReport();
  }

 private:
  void Dispatch(const std::string& command, const std::string& rest) {
    if (command == "info") {
      Info();
    } else if (command == "run") {
      window_ = plugin_.Run(0, &record_);
      std::cout << "handle " << window_ << "\n";
    } else if (command == "add" || command == "score") {
      if (FillQso(rest)) {
        const auto points =
            command == "add" ? plugin_.AddQSO(&record_) : plugin_.GetScore(&record_);
        std::cout << "points " << points << "\n";
      }
    } else if (command == "grab") {
      Grab(rest);
    } else if (command == "report") {
      Report();
    } else if (command == "state") {
      std::cout << "state " << StateName(orva_window_state(window_)) << " "
                << WindowText(window_, orva_window_caption) << "\n";
    } else if (command == "bounds") {
      Bounds();
    } else {
      WindowCommand(command, rest);
    }
  }

  void Info() {
    unsigned char info[1024] = {};
    plugin_.GetInfo(info);
    std::cout << "name " << std::string(reinterpret_cast<char*>(info + 1), info[0]) << "\n";
    std::cout << "kind " << std::string(reinterpret_cast<char*>(info + 261), info[260]) << "\n";
  }

  // CALL BAND MODE, then the exchange as the rest of the line.
  bool FillQso(const std::string& text) {
    std::istringstream words(text);
    std::string call, band, mode, exchange;
    if (!(words >> call >> band >> mode)) {
      std::cout << "error: expected CALL BAND MODE [EXCHANGE]\n";
      return false;
    }
    std::getline(words >> std::ws, exchange);
    record_.CallSign.assign(call);
    record_.DigiBand.assign(band);
    record_.QSOMode.assign(mode);
    record_.QSOReportRecived.assign(exchange);
    return true;
  }

  void Grab(const std::string& call) {
    if (call.empty()) {
      std::cout << "error: expected CALL\n";
      return;
    }
    record_.CallSign.assign(call);
    unsigned char buffer[256] = {};
    plugin_.GrabNumber(&record_, buffer);
    std::cout << "reference " << std::string(reinterpret_cast<char*>(buffer + 1), buffer[0])
              << "\n";
  }

  void PrintReport() {
    std::istringstream lines(WindowText(window_, orva_window_memo_text));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      std::cout << line << "\n";
    }
  }

  void Report() {
    PrintReport();
    std::cout << "end\n";
  }

  void Bounds() {
    orva_rect bounds{};
    if (orva_window_bounds(window_, &bounds) == ORVA_NO_WINDOW) {
      std::cout << "error: no window (use run first)\n";
      return;
    }
    std::cout << "bounds " << bounds.left << " " << bounds.top << " " << bounds.right << " "
              << bounds.bottom << "\n";
  }

  std::optional<int> Move(const std::string& text) {
    std::istringstream words(text);
    orva_rect bounds{};
    if (!(words >> bounds.left >> bounds.top >> bounds.right >> bounds.bottom)) {
      std::cout << "error: expected LEFT TOP RIGHT BOTTOM\n";
      return std::nullopt;
    }
    return orva_window_move(window_, &bounds);
  }

  void WindowCommand(const std::string& command, const std::string& rest) {
    int result = 0;
    if (command == "move") {
      const std::optional<int> moved = Move(rest);
      if (!moved) {
        return;
      }
      result = *moved;
    } else if (command == "recalc") {
      result = orva_window_press_button(window_);
    } else if (command == "minimize") {
      result = orva_window_sys_command(window_, ORVA_SC_CLOSE);
    } else if (command == "close") {
      result = orva_window_close(window_);
    } else if (command == "logoff") {
      result = orva_window_query_end_session(window_);
    } else if (command == "release") {
      plugin_.Release();
      result = ORVA_DELIVERED;
    } else {
      std::cout << "error: unknown command '" << command << "'\n";
      return;
    }
    if (result == ORVA_NO_WINDOW) {
      std::cout << "error: no window (use run first)\n";
    } else if (result == ORVA_IGNORED) {
      std::cout << "error: the window ignored it (button greyed or window minimized)\n";
    } else {
      std::cout << "ok\n";
    }
  }

  const Plugin& plugin_;
  orva::TExchangeRecord record_;
  std::uintptr_t window_ = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--score") {
      options.score = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::cerr << "orva-host: " << option << " needs a value\n";
      return false;
    }
    const std::string value = argv[++i];
    if (option == "--plugin") {
      options.plugin = value;
    } else if (option == "--log") {
      options.log = value;
    } else if (option == "--adif") {
      options.adif = value;
    } else if (option == "--cabrillo") {
      options.cabrillo = value;
    } else if (option == "--table") {
      options.table = value;
    } else if (option == "--caption") {
      options.caption = value;
    } else if (option == "-c") {
      options.commands = value;
      options.haveCommands = true;
    } else {
      std::cerr << "orva-host: unknown option " << option << "\n";
      return false;
    }
  }
  const int logs = !options.log.empty() + !options.adif.empty() + !options.cabrillo.empty();
  if (logs > 1 || (options.score && options.haveCommands)) {
    std::cerr << "orva-host: give at most one of --log, --adif and --cabrillo, and not both "
                 "--score and -c\n";
    return false;
  }
  return true;
}

void RunCommands(Session& session, const Options& options) {
  std::istringstream script(options.commands);
  std::istream& input = options.haveCommands ? static_cast<std::istream&>(script) : std::cin;
  const char separator = options.haveCommands ? ';' : '\n';
  for (std::string line; std::getline(input, line, separator);) {
    if (!session.Execute(line)) {
      break;
    }
    std::cout.flush();
  }
}

// Reads the --adif or --cabrillo file into a temporary log database, telling
// each record it left out; null with the reason told when there is none.
std::unique_ptr<orva::import::TemporaryLogDatabase> ImportLog(const Options& options,
                                                              bool& complete) {
  using namespace orva::import;
  const bool adif = !options.adif.empty();
  const std::string& path = adif ? options.adif : options.cabrillo;
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    std::cerr << "orva-host: cannot open " << path << ": " << error << "\n";
    return nullptr;
  }
  const ImportedLog log = adif ? ReadAdif(bytes) : ReadCabrillo(bytes);
  if (!log.unreadable.empty()) {
    std::cerr << "orva-host: cannot read " << path << ": " << log.unreadable << "\n";
    return nullptr;
  }
  for (const SkippedRecord& skipped : log.skipped) {
    std::cerr << "skipped record " << skipped.record << ": " << skipped.reason << "\n";
  }
  if (log.qsos.empty()) {
    std::cerr << "orva-host: " << path << " holds no QSO to score\n";
  }
  complete = log.skipped.empty() && !log.qsos.empty();
  try {
    return std::make_unique<TemporaryLogDatabase>(log.qsos, options.table);
  } catch (const std::exception& failure) {
    std::cerr << "orva-host: cannot import " << path << ": " << failure.what() << "\n";
    return nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // A logging program runs under its user's locale, and the plug-in ignores
  // letter case by that locale's rules (multiplier keys, the error box's
  // title). Numbers keep the C formatting that the reports and logs use.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_COLLATE, "");
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: orva-host [--plugin PATH] [--log FILE | --adif FILE | --cabrillo FILE]"
                 " [--table NAME] [--caption TEXT] [--score | -c 'CMD; CMD']\n";
    return kFailed;
  }
  bool complete = true;
  std::unique_ptr<orva::import::TemporaryLogDatabase> imported;
  if (!options.adif.empty() || !options.cabrillo.empty()) {
    imported = ImportLog(options, complete);
    if (!imported) {
      return kFailed;
    }
    options.log = imported->Path();
  }
  std::uint32_t connection = 0;
  if (!options.log.empty()) {
    connection = orva_log_open(options.log.c_str());
    if (connection == 0) {
      std::cerr << "orva-host: cannot open log " << options.log << ": " << orva_log_last_error()
                << "\n";
      return kFailed;
    }
  }
  Plugin plugin{};
  if (!LoadPlugin(options.plugin.empty() ? BesideExecutable("RARIREZazoriz.so") : options.plugin,
                  plugin)) {
    return kFailed;
  }
  // With --score the standard output holds the report alone.
  ErrorBoxes errorBoxes{options.score ? &std::cerr : &std::cout};
  orva_set_error_box_listener(PrintErrorBox, &errorBoxes);
  Session session(plugin, options, connection);
  if (options.score) {
    session.Score();
  } else {
    RunCommands(session, options);
  }
  plugin.Release();
  orva_pump();
  orva_set_error_box_listener(nullptr, nullptr);
  if (connection != 0) {
    orva_log_close(connection);
  }
  const bool scoredAll = complete && !(options.score && errorBoxes.shown > 0);
  return scoredAll ? kSucceeded : kIncomplete;
}
