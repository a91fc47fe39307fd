// The host's side of a session: the plug-in's exports found by name, the
// error-box listener, and the command language a test or an operator types.
#include "host/plugin_session.h"

#include <dlfcn.h>

#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>

#include "base/records.h"
#include "platform/native/orva_window.h"

namespace orva::host {
namespace {

template <class F>
bool Resolve(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  if (!function) {
    std::cerr << "orva-host: the plug-in has no export " << name << "\n";
  }
  return function != nullptr;
}

}  // namespace

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

ErrorBoxPrinter::ErrorBoxPrinter(std::ostream& out) : out_(out) {
  orva_set_error_box_listener(Print, this);
}

ErrorBoxPrinter::~ErrorBoxPrinter() {
  orva_set_error_box_listener(nullptr, nullptr);
}

void ErrorBoxPrinter::Print(void* context, const char* caption, const char* text) {
  auto& printer = *static_cast<ErrorBoxPrinter*>(context);
  printer.out_ << "error-box " << caption << ": " << text << "\n";
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

class Session {
 public:
  Session(const Plugin& plugin, const RecordContext& context) : plugin_(plugin) {
    std::memset(&record_, 0, sizeof record_);
    record_.Connection = context.connection;
    record_.TableName.assign(context.table);
    record_.CaptionText.assign(context.caption);
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
  TExchangeRecord record_;
  std::uintptr_t window_ = 0;
};

}  // namespace

void RunCommands(const Plugin& plugin, const RecordContext& context, std::istream& input,
                 char separator) {
  Session(plugin, context).RunCommands(input, separator);
}

void PrintScore(const Plugin& plugin, const RecordContext& context) {
  Session(plugin, context).Score();
}

}  // namespace orva::host
