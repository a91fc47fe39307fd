// The host's side of a session: the plug-in's exports found by name, the
// error-box listener, and the command language a test or an operator types.
#include "host/drive/plugin_session.h"

#include <dlfcn.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/records.h"
#include "host/drive/window_output.h"
#include "host/system/host_failure.h"
#include "platform/native/orva_window.h"

namespace orva::host {
namespace {

template <class F>
void Resolve(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  if (!function) {
    throw HostFailure(std::string("the plug-in has no export ") + name);
  }
}

}  // namespace

Plugin LoadPlugin(const std::string& path) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    throw HostFailure(std::string("cannot load the plug-in: ") + dlerror());
  }
  Plugin plugin{};
  Resolve(library, "_GetInfo", plugin.GetInfo);
  Resolve(library, "_Run", plugin.Run);
  Resolve(library, "_AddQSO", plugin.AddQSO);
  Resolve(library, "_GetScore", plugin.GetScore);
  Resolve(library, "_GrabNumber", plugin.GrabNumber);
  Resolve(library, "_Release", plugin.Release);
  return plugin;
}

ErrorBoxPrinter::ErrorBoxPrinter(std::ostream& out) : out_(out) {
  orva_set_error_box_listener(Print, this);
}

ErrorBoxPrinter::~ErrorBoxPrinter() {
  orva_set_error_box_listener(nullptr, nullptr);
}

void ErrorBoxPrinter::Print(void* context, const char* caption, const char* text) {
  auto& printer = *static_cast<ErrorBoxPrinter*>(context);
  PrintErrorBox(caption, text, printer.out_);
  ++printer.shown_;
}

namespace {

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

// Space and tab only, the blanks a person types between words, not
// std::isspace: the host runs under the user's LC_CTYPE, and a session's
// words must split the same whatever that locale counts as a space.
bool IsWordBlank(char c) {
  return c == ' ' || c == '\t';
}

// The words of one command: split on blanks, a part in double or single
// quotes keeping its blanks (so "" is an empty word), a trailing CR (a line
// of a file with CR LF ends) ignored. Nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCommandWords(std::string_view line) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  std::vector<std::string> words;
  bool inWord = false;
  char quote = '\0';
  for (const char c : line) {
    if (quote != '\0') {
      if (c == quote) {
        quote = '\0';
      } else {
        words.back() += c;
      }
    } else if (IsWordBlank(c)) {
      inWord = false;
    } else {
      if (!inWord) {
        words.emplace_back();
        inWord = true;
      }
      if (c == '"' || c == '\'') {
        quote = c;
      } else {
        words.back() += c;
      }
    }
  }
  if (quote != '\0') {
    return std::nullopt;
  }
  return words;
}

class Session;

// The command language, one entry a command: how many words follow it, how
// its usage reads, what the help says it does (a line each), and the member
// of Session that runs it. The checks of a command's words, the help and
// the dispatch are all read from one table (Session::kCommands), so a
// command cannot be run that the help leaves out, nor listed without being
// run. `exit` is another name of quit for those who type it by habit: it
// works, and the help names only quit.
struct Command {
  std::string_view name;
  std::size_t fewest, most;
  std::string_view arguments;
  std::string_view help;  // empty: another name, not listed
  void (Session::*run)(const std::vector<std::string>& arguments);
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// Where the help's descriptions start; a usage that reaches it puts its
// description on the next line.
constexpr std::size_t kHelpColumn = 26;

// One command's lines of the help: its usage, then what it does.
void AppendCommandHelp(std::string& help, const Command& command) {
  // Appended piece by piece: GCC 12 at -O3 takes `" " + std::string(...)`
  // for an overlapping copy (-Wrestrict), which fails the optimized build.
  std::string usage = "  ";
  usage += command.name;
  if (!command.arguments.empty()) {
    usage += ' ';
    usage += command.arguments;
  }
  help += usage;
  if (usage.size() < kHelpColumn - 1) {
    help.append(kHelpColumn - usage.size(), ' ');
  } else {
    help += '\n' + std::string(kHelpColumn, ' ');
  }
  for (const char c : command.help) {
    help += c;
    if (c == '\n') {
      help.append(kHelpColumn, ' ');
    }
  }
  help += '\n';
}

// Why the words cannot be run as `command`, or nothing when they can.
std::optional<std::string> WordsFault(const Command& command,
                                      const std::vector<std::string>& words) {
  const std::size_t given = words.size() - 1;
  if (given < command.fewest) {
    return "expected " + std::string(command.arguments);
  }
  if (given > command.most) {
    const std::string takes =
        command.arguments.empty() ? "no argument" : std::string(command.arguments);
    return "unexpected '" + words[command.most + 1] + "': " + words.front() + " takes " + takes;
  }
  return std::nullopt;
}

// A whole number, all of the word.
std::optional<int> Integer(const std::string& word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) {
    return std::nullopt;
  }
  return value;
}

class Session {
 public:
  Session(const Plugin& plugin, const RecordContext& context) : plugin_(plugin) {
    std::memset(&record_, 0, sizeof record_);
    record_.Connection = context.connection;
    record_.TableName.assign(context.table);
    record_.CaptionText.assign(context.caption);
  }

  // Runs one command line; false when the host should stop. A line that
  // cannot be run is answered with the reason and does nothing.
  bool Execute(const std::string& line);

  // Runs the commands of `input`, one per `separator`, until it ends or says
  // quit.
  void RunCommands(std::istream& input, char separator) {
    for (std::string line; std::getline(input, line, separator);) {
      if (!Execute(line)) {
        break;
      }
      std::cout.flush();
    }
  }

  // Opens the window, which scores the whole log as it is first shown, and
  // prints its report.
  void Score() {
    window_ = plugin_.Run(0, &record_);
    orva_pump();
    PrintReport();
  }

  // Every command, in the order the help lists them; defined after the
  // class, as it names the private members that run them.
  static const Command kCommands[];

 private:
  using Arguments = std::vector<std::string>;

  // The command named `name`, or null when there is none.
  static const Command* Find(std::string_view name);

  // The commands, each given the words after its name, as many as it takes.
  void Info(const Arguments&) {
    unsigned char info[1024] = {};
    plugin_.GetInfo(info);
    std::cout << "name " << ShortStringText(info + kInfoPluginNameOffset) << "\n";
    std::cout << "kind " << ShortStringText(info + kInfoPluginKindOffset) << "\n";
  }

  void Run(const Arguments&) {
    window_ = plugin_.Run(0, &record_);
    std::cout << "handle " << window_ << "\n";
  }

  void Add(const Arguments& arguments) {
    FillQso(arguments);
    PrintPoints(plugin_.AddQSO(&record_));
  }

  void ScoreQso(const Arguments& arguments) {
    FillQso(arguments);
    PrintPoints(plugin_.GetScore(&record_));
  }

  void Grab(const Arguments& arguments) {
    record_.CallSign.assign(arguments.front());
    unsigned char buffer[256] = {};
    plugin_.GrabNumber(&record_, buffer);
    std::cout << "reference " << ShortStringText(buffer) << "\n";
  }

  void Report(const Arguments&) {
    PrintReport();
    std::cout << "end\n";
  }

  void Recalc(const Arguments&) { PrintWindowAnswer(orva_window_press_button(window_)); }

  void Minimize(const Arguments&) {
    PrintWindowAnswer(orva_window_sys_command(window_, ORVA_SC_CLOSE));
  }

  void Close(const Arguments&) { PrintWindowAnswer(orva_window_close(window_)); }

  void Logoff(const Arguments&) { PrintWindowAnswer(orva_window_query_end_session(window_)); }

  void Release(const Arguments&) {
    plugin_.Release();
    PrintWindowAnswer(ORVA_DELIVERED);
  }

  void Move(const Arguments& arguments) {
    orva_rect bounds{};
    int* const sides[] = {&bounds.left, &bounds.top, &bounds.right, &bounds.bottom};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      const std::optional<int> side = Integer(arguments[i]);
      if (!side) {
        std::cout << "error: expected LEFT TOP RIGHT BOTTOM as whole numbers\n";
        return;
      }
      *sides[i] = *side;
    }
    PrintWindowAnswer(orva_window_move(window_, &bounds));
  }

  void State(const Arguments&) {
    std::cout << "state " << StateName(orva_window_state(window_)) << " "
              << WindowText(window_, orva_window_caption) << "\n";
  }

  void Bounds(const Arguments&) {
    orva_rect bounds{};
    if (orva_window_bounds(window_, &bounds) == ORVA_NO_WINDOW) {
      std::cout << "error: no window (use run first)\n";
      return;
    }
    std::cout << "bounds " << bounds.left << " " << bounds.top << " " << bounds.right << " "
              << bounds.bottom << "\n";
  }

  void Quit(const Arguments&) { quit_ = true; }

  // CALL BAND MODE, then the exchange: the words after them, one space
  // apart.
  void FillQso(const Arguments& arguments) {
    std::string exchange;
    for (std::size_t i = 3; i < arguments.size(); ++i) {
      exchange += (i > 3 ? " " : "") + arguments[i];
    }
    record_.CallSign.assign(arguments[0]);
    record_.DigiBand.assign(arguments[1]);
    record_.QSOMode.assign(arguments[2]);
    record_.QSOReportRecived.assign(exchange);
  }

  static void PrintPoints(std::int32_t points) { std::cout << "points " << points << "\n"; }

  void PrintReport() { host::PrintReport(WindowText(window_, orva_window_memo_text), std::cout); }

  // What the window made of a command sent to it.
  static void PrintWindowAnswer(int result) {
    if (result == ORVA_NO_WINDOW) {
      std::cout << "error: no window (use run first)\n";
    } else if (result == ORVA_IGNORED) {
      std::cout << "error: the window ignored it (button greyed or window minimized)\n";
    } else {
      std::cout << "ok\n";
    }
  }

  const Plugin& plugin_;
  TExchangeRecord record_;
  std::uintptr_t window_ = 0;
  bool quit_ = false;
};

const Command Session::kCommands[] = {
    {"info", 0, 0, "", "prints name and kind: the plug-in's information", &Session::Info},
    {"run", 0, 0, "", "opens the window, which scores the log;\nprints handle N", &Session::Run},
    {"add", 3, kAnyNumber, "CALL BAND MODE [EXCHANGE]",
     "logs a QSO; prints points N (-1: a duplicate)", &Session::Add},
    {"score", 3, kAnyNumber, "CALL BAND MODE [EXCHANGE]",
     "prints points N that the QSO would score,\nwithout logging it", &Session::ScoreQso},
    {"grab", 1, 1, "CALL", "prints reference and what the plug-in pre-fills", &Session::Grab},
    {"report", 0, 0, "", "prints the window's report, then end", &Session::Report},
    {"recalc", 0, 0, "", "presses Recalc Statistic; prints ok", &Session::Recalc},
    {"minimize", 0, 0, "", "presses the close button, which minimizes;\nprints ok",
     &Session::Minimize},
    {"close", 0, 0, "", "asks the window to close; prints ok", &Session::Close},
    {"logoff", 0, 0, "", "asks the window whether the session may end;\nprints ok",
     &Session::Logoff},
    {"release", 0, 0, "", "releases the plug-in's window; prints ok", &Session::Release},
    {"move", 4, 4, "LEFT TOP RIGHT BOTTOM", "moves the window as a user dragging it; prints ok",
     &Session::Move},
    {"state", 0, 0, "",
     "prints state (hidden, normal, minimized,\nmaximized or none) and the caption",
     &Session::State},
    {"bounds", 0, 0, "", "prints bounds and the window's left, top, right\nand bottom",
     &Session::Bounds},
    {"quit", 0, 0, "", "stops reading commands", &Session::Quit},
    {"exit", 0, 0, "", "", &Session::Quit},
};

const Command* Session::Find(std::string_view name) {
  const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command& known) { return known.name == name; });
  return command == std::end(kCommands) ? nullptr : command;
}

bool Session::Execute(const std::string& line) {
  const std::optional<std::vector<std::string>> words = SplitCommandWords(line);
  if (!words) {
    std::cout << "error: a quote is left open\n";
    return true;
  }
  if (words->empty()) {
    return true;
  }
  const Command* command = Find(words->front());
  if (!command) {
    std::cout << "error: unknown command '" << words->front() << "'\n";
    return true;
  }
  if (const std::optional<std::string> fault = WordsFault(*command, *words)) {
    std::cout << "error: " << *fault << "\n";
    return true;
  }
  (this->*command->run)({words->begin() + 1, words->end()});
  if (quit_) {
    return false;
  }
  orva_pump();
  return true;
}

}  // namespace

std::string CommandsHelp() {
  std::string help = "Commands (one a line on standard input, or separated by ';' with -c):\n";
  for (const Command& command : Session::kCommands) {
    if (!command.help.empty()) {
      AppendCommandHelp(help, command);
    }
  }
  return help +
         "Each command is answered on standard output. Words are separated by blanks;\n"
         "a word in quotes (\"...\" or '...') keeps its blanks. A command that is unknown\n"
         "or has missing or extra words is answered \"error: ...\" and does nothing.\n"
         "Every error box of the plug-in is printed once, as \"error-box CAPTION: TEXT\"\n"
         "(with --score, on standard error).";
}

void RunCommands(const Plugin& plugin, const RecordContext& context, std::istream& input,
                 char separator) {
  Session(plugin, context).RunCommands(input, separator);
}

void PrintScore(const Plugin& plugin, const RecordContext& context) {
  Session(plugin, context).Score();
}

}  // namespace orva::host
