// Fuzz target: the window placement read back from the settings store, with
// arbitrary texts and value types, through the native file store.
//
// Input, in order: a screen byte (1920x1080, 1024x768 or 1280x1024), a pixel
// density byte (96, 120 or 144), a mode byte, then
// - mode odd: the rest is the section file's bytes, as they lie on disk;
// - mode even: values until the input ends, each a type byte (text, number,
//   or a raw line that is not escaped), a name byte (below 16: one of the
//   placement's value names, plain or with this screen's size suffix; else
//   the name follows as a length byte and bytes) and the data (a length byte
//   and bytes). They are written in the store's file format, so arbitrary
//   texts reach the placement logic rather than stopping in the file parser.
//
// The placement is read as the window's show hook reads it, into a window
// that only records what is done to it. Then:
// - a failure is one of the two read errors, naming a value that is read;
// - the window never comes up minimized, and only the minimize command is
//   posted to the application;
// - a rectangle applied from the store has right > left;
// - after a read that set the placement up, a write must succeed, and a new
//   window reading what was written must come up exactly where and as the
//   first one did, without any error: what the plug-in writes, it reads back.
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/failure.h"
#include "fuzz/fuzz_support.h"
#include "tests/fake_form_window.h"
#include "window/form_storage.h"

namespace {

namespace fs = std::filesystem;
using orva::kScMinimize;
using orva::Point;
using orva::Rect;
using orva::fuzz::Shown;
using orva::platform::WindowPlacement;
using orva::platform::WindowState;

constexpr const char* kNames[] = {"FormVersion", "Flags",   "ShowCmd", "PixelsPerInch",
                                  "MinMaxPos",   "NormPos", "Visible", "CurrentBand"};
constexpr Point kFrame{4, 4};
fs::path storeRoot;
fs::path sectionFile;

struct World {
  orva::platform::ScreenSize screen;
  int pixelsPerInch;
  std::vector<std::uint32_t> posted;

  orva::PlacementContext Context() {
    return {[] { return std::string("/opt/fuzz/FUZZHOST.exe"); }, [this] { return screen; },
            [this] { return pixelsPerInch; }, [] { return kFrame; },
            [this](std::uint32_t command) { posted.push_back(command); }};
  }
};

// One window with its storage, attached as the statistics window attaches it.
struct Window {
  explicit Window(World& world) : storage(world.Context()) {
    storage.Attach(form, {[this] { ++shows; }, nullptr},
                   [this](const std::string& message) { errors.push_back(message); });
    storage.ShowHook();
  }
  std::string CurrentBand() const {
    return std::visit(
        [](const auto& value) {
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, int>) {
            return std::to_string(value);
          } else {
            return value;
          }
        },
        storage.CurrentBand());
  }

  orva::test::FakeFormWindow form;
  orva::TFormStorage storage;
  std::vector<std::string> errors;
  int shows = 0;
};

// The file format's escaping, for the values this target writes.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || c == '=') {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", byte);
      out += code;
    } else {
      out += c;
    }
  }
  return out;
}

std::string ScreenSuffix(const World& world) {
  return "(" + std::to_string(world.screen.width) + "x" + std::to_string(world.screen.height) + ")";
}

std::string SectionBytes(orva::fuzz::Input& input, const World& world) {
  if (input.Byte() % 2 == 1) {
    return std::string(input.Rest());
  }
  std::string bytes = "orva-settings 1\n";
  while (!input.empty()) {
    const std::uint8_t type = input.Byte() % 3;
    const std::uint8_t nameByte = input.Byte();
    std::string name = nameByte < 16 ? kNames[nameByte % 8] : std::string(input.Text());
    if (nameByte < 16 && nameByte >= 8) {
      name += ScreenSuffix(world);
    }
    const std::string_view data = input.Text();
    if (type == 2) {
      bytes += std::string(data) + "\n";
    } else {
      bytes += (type == 0 ? "sz:" : "dword:") + Escaped(name) + "=" + Escaped(data) + "\n";
    }
  }
  return bytes;
}

bool IsReadError(const std::string& message) {
  for (const char* name : kNames) {
    for (const std::string prefix : {"Invalid data type for '", "Failed to get data for '"}) {
      if (message.starts_with(prefix) && message.ends_with("'") &&
          message.substr(prefix.size()).starts_with(name)) {
        return true;
      }
    }
  }
  return false;
}

void CheckShown(const Window& window, const World& world) {
  ORVA_REQUIRE(window.shows == 1, "show handler ran %d times", window.shows);
  ORVA_REQUIRE(
      window.errors.size() <= 1 && (window.errors.empty() || IsReadError(window.errors[0])),
      "%zu errors, first \"%s\"", window.errors.size(),
      window.errors.empty() ? "" : Shown(window.errors[0]).c_str());
  for (const WindowState state : window.form.appliedStates) {
    ORVA_REQUIRE(state != WindowState::kMinimized, "the window was minimized");
  }
  for (const std::uint32_t command : world.posted) {
    ORVA_REQUIRE(command == kScMinimize, "posted command %u", command);
  }
  const auto& applied = window.form.appliedPlacements;
  if (window.errors.empty()) {
    // The last placement is the maximized position's adjustment; one before
    // it came from the store.
    ORVA_REQUIRE(!applied.empty() && applied.back().maxPosition == (Point{-4, -4}) &&
                     applied.back().showCmd == orva::platform::kSwHide,
                 "maximized position not adjusted");
  }
  for (std::size_t i = 0; i + (window.errors.empty() ? 1 : 0) < applied.size(); ++i) {
    const Rect& normal = applied[i].normalPosition;
    ORVA_REQUIRE(normal.right > normal.left, "applied a rectangle %d..%d", normal.left,
                 normal.right);
  }
}

void CheckReadsBackWhatItWrote(Window& first, World& world) {
  try {
    first.storage.StoreWindowPlacement();
  } catch (const orva::Failure& failure) {
    ORVA_REQUIRE(false, "writing failed: %s", failure.what());
  }
  world.posted.clear();
  const Window second(world);
  CheckShown(second, world);
  ORVA_REQUIRE(second.errors.empty(), "reading back failed: %s", second.errors[0].c_str());
  WindowPlacement expected = first.form.placement;
  const WindowPlacement& got = second.form.placement;
  // The maximized position and the show command are the adjustment's, which
  // CheckShown saw; a first read that failed late never made it.
  expected.maxPosition = got.maxPosition;
  expected.showCmd = got.showCmd;
  ORVA_REQUIRE(got == expected && second.form.state == first.form.state,
               "read back flags %u normal %d,%d,%d,%d min %d,%d state %d; written flags %u "
               "normal %d,%d,%d,%d min %d,%d state %d",
               got.flags, got.normalPosition.left, got.normalPosition.top, got.normalPosition.right,
               got.normalPosition.bottom, got.minPosition.x, got.minPosition.y,
               static_cast<int>(second.form.state), expected.flags, expected.normalPosition.left,
               expected.normalPosition.top, expected.normalPosition.right,
               expected.normalPosition.bottom, expected.minPosition.x, expected.minPosition.y,
               static_cast<int>(first.form.state));
  ORVA_REQUIRE(second.CurrentBand() == first.CurrentBand(), "band \"%s\" read back as \"%s\"",
               Shown(first.CurrentBand()).c_str(), Shown(second.CurrentBand()).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  storeRoot = orva::fuzz::MakeScratchFolder("orva-placement-fuzz");
  setenv("XDG_CONFIG_HOME", storeRoot.c_str(), 1);
  sectionFile = storeRoot / "orva" / "Software" / "FUZZHOST" / "TfmMainForm.values";
  fs::create_directories(sectionFile.parent_path());
  std::atexit([] { fs::remove_all(storeRoot); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  static constexpr orva::platform::ScreenSize kScreens[] = {
      {1920, 1080}, {1024, 768}, {1280, 1024}};
  static constexpr int kDensities[] = {96, 120, 144};
  World world{kScreens[input.Byte() % 3], kDensities[input.Byte() % 3], {}};
  std::ofstream(sectionFile, std::ios::binary | std::ios::trunc) << SectionBytes(input, world);

  Window first(world);
  CheckShown(first, world);
  if (first.storage.WasLoaded()) {
    CheckReadsBackWhatItWrote(first, world);
  }
  return 0;
}
