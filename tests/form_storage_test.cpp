// The placement storage against a fake window and an in-memory store: the
// key it names, what it writes and reads back, and each store fault's text.
#include "window/form_storage.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>

#include "tests/fake_form_window.h"
#include "tests/settings_fixture.h"

namespace orva {
namespace {

using platform::WindowState;
using test::FakeFormWindow;
using test::StoredEntry;

const std::string kSection(TFormStorage::IniSection);

struct KeyCase {
  std::string path;
  std::string delimiters;
  std::string baseName;
};

class ApplicationKeyName : public testing::TestWithParam<KeyCase> {};

TEST_P(ApplicationKeyName, IsTheHostFileNameWithoutDirectoryAndExtension) {
  EXPECT_EQ(ExeBaseName(GetParam().path, GetParam().delimiters), GetParam().baseName);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplicationKeyName,
    testing::Values(KeyCase{"C:\\Program Files\\Logger\\Logger.exe", "\\:", "Logger"},
                    KeyCase{"D:\\Other place\\Logger.exe", "\\:", "Logger"},
                    KeyCase{"C:\\Hosts\\Logger", "\\:", "Logger"},
                    KeyCase{"C:\\Hosts.v2\\Logger", "\\:", "Logger"},
                    KeyCase{"C:Logger.v2.exe", "\\:", "Logger.v2"},
                    KeyCase{"Logger.exe", "\\:", "Logger"}, KeyCase{"C:\\Hosts\\.exe", "\\:", ""},
                    KeyCase{"/usr/local/bin/logger", "/", "logger"},
                    KeyCase{"/opt/log.ger/run.sh", "/", "run"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// The screen, the host and the application window as one window's storage
// sees them, all under the test's control.
struct World {
  std::string executablePath;
  platform::ScreenSize screen{1920, 1080};
  int pixelsPerInch = 96;
  std::vector<std::uint32_t> posted;
  std::vector<std::string> errors;
  int shows = 0;
  bool allowClose = true;

  PlacementContext Context() {
    return {[this] { return executablePath; }, [this] { return screen; },
            [this] { return pixelsPerInch; },
            [] {
              return Point{4, 4};
            },
            [this](std::uint32_t command) { posted.push_back(command); }};
  }
};

// One statistics window with its storage attached as the window attaches it.
struct Window {
  explicit Window(World& world) : storage(world.Context()) {
    storage.Attach(
        form,
        {[&world] { ++world.shows; }, [&world](bool& canClose) { canClose = world.allowClose; }},
        [&world](const std::string& message) { world.errors.push_back(message); });
  }

  FakeFormWindow form;
  TFormStorage storage;
};

class FormStorage : public testing::Test {
 protected:
  void SetUp() override { world.executablePath = settings.ExecutablePath(); }

  // _Run: a new window, shown for the first time.
  std::unique_ptr<Window> Open() {
    auto window = std::make_unique<Window>(world);
    window->storage.ShowHook();
    window->form.visible = true;
    return window;
  }

  // A close request: the close query, then the release and its destruction.
  void Close(Window& window) {
    bool canClose = true;
    window.storage.CloseQueryHook(canClose);
    if (canClose) {
      Destroy(window);
    }
  }

  // The window is hidden, then destroyed.
  void Destroy(Window& window) {
    window.form.visible = false;
    window.storage.DestroyHook();
  }

  std::map<std::string, std::string> Texts() const {
    std::map<std::string, std::string> texts;
    for (const StoredEntry& entry :
         settings.Section(kSection).value_or(std::vector<StoredEntry>{})) {
      texts[entry.name] = entry.text;
    }
    return texts;
  }

  // Writes a first placement and seeds one value over it.
  void StoreThenSeedNumber(const std::string& name) {
    Close(*Open());
    settings.SeedNumber(kSection, name, 1);
  }

  test::TestSettings settings;
  World world;
};

TEST_F(FormStorage, NamesItsKeyAfterTheHostAlone) {
  EXPECT_EQ(Window(world).storage.ApplicationKey(), settings.ApplicationKey());
}

TEST_F(FormStorage, FirstReadCreatesTheKeyButNoSection) {
  auto window = Open();

  EXPECT_TRUE(settings.ApplicationKeyExists());
  EXPECT_EQ(settings.Section(kSection), std::nullopt);
  EXPECT_TRUE(world.errors.empty());
  EXPECT_EQ(world.shows, 1);
  EXPECT_TRUE(window->storage.WasLoaded());
  EXPECT_EQ(window->form.Bounds(), FakeFormWindow::kDesigned);
  EXPECT_EQ(window->storage.CurrentBand(), (std::variant<int, std::string>("0")));
}

TEST_F(FormStorage, FirstWriteStoresTheTenValues) {
  auto window = Open();
  EXPECT_EQ(window->storage.CurrentBand(), (std::variant<int, std::string>("0")));
  Close(*window);

  const std::vector<StoredEntry> expected = {
      {"CurrentBand", true, "0"},
      {"Flags", true, "0"},
      {"FormVersion", true, "0"},
      {"MinMaxPos", true, "-1,-1,-4,-4"},
      {"MinMaxPos(1920x1080)", true, "-1,-1,-4,-4"},
      {"NormPos", true, "950,138,1324,334"},
      {"NormPos(1920x1080)", true, "950,138,1324,334"},
      {"PixelsPerInch", true, "96"},
      {"ShowCmd", true, "1"},
      {"Visible", true, "0"},
  };
  EXPECT_EQ(settings.Section(kSection), expected);
  EXPECT_TRUE(world.errors.empty());
}

TEST_F(FormStorage, AppliesAStoredPlacementBeforeTheWindowsShowHandler) {
  auto first = Open();
  first->form.MoveTo({10, 20, 400, 300});
  Close(*first);

  World& w = world;
  auto second = std::make_unique<Window>(world);
  std::optional<Rect> boundsAtShow;
  second->storage.Attach(second->form, {[&] { boundsAtShow = second->form.Bounds(); }, nullptr},
                         [&w](const std::string& message) { w.errors.push_back(message); });
  second->storage.ShowHook();

  EXPECT_EQ(boundsAtShow, (Rect{10, 20, 400, 300}));
  // Applied without showing the window, which the toolkit shows next.
  ASSERT_FALSE(second->form.appliedPlacements.empty());
  EXPECT_EQ(second->form.appliedPlacements.front().showCmd, platform::kSwHide);
  EXPECT_EQ(second->form.placement.maxPosition, (Point{-4, -4}));
}

TEST_F(FormStorage, EachScreenSizeKeepsItsOwnPosition) {
  const Rect large{100, 100, 600, 400};
  const Rect small{50, 60, 300, 200};
  auto window = Open();
  window->form.MoveTo(large);
  Close(*window);

  world.screen = {1280, 1024};
  window = Open();
  EXPECT_EQ(window->form.Bounds(), large) << "plain values apply until sized ones exist";
  window->form.MoveTo(small);
  Close(*window);
  EXPECT_EQ(Texts()["NormPos(1920x1080)"], "100,100,600,400");
  EXPECT_EQ(Texts()["NormPos(1280x1024)"], "50,60,300,200");

  world.screen = {1920, 1080};
  EXPECT_EQ(Open()->form.Bounds(), large);
  world.screen = {1280, 1024};
  EXPECT_EQ(Open()->form.Bounds(), small);
}

TEST_F(FormStorage, APlacementFromAnotherDensityKeepsOnlyItsShowState) {
  auto window = Open();
  window->form.MoveTo({100, 100, 600, 400});
  window->form.state = WindowState::kMaximized;
  Close(*window);

  world.pixelsPerInch = 120;
  window = Open();
  EXPECT_EQ(window->form.Bounds(), FakeFormWindow::kDesigned);
  EXPECT_EQ(window->form.appliedStates, std::vector{WindowState::kMaximized});
  EXPECT_EQ(window->form.appliedPlacements.size(), 1u) << "only the maximized position";
}

struct NormPosCase {
  std::string text;
  std::optional<Rect> applied;
};

class StoredNormalRectangle : public FormStorage,
                              public testing::WithParamInterface<NormPosCase> {};

TEST_P(StoredNormalRectangle, AppliesOnlyWhenRightLiesRightOfLeft) {
  settings.SeedText(kSection, "NormPos", GetParam().text);
  auto window = Open();

  EXPECT_EQ(window->form.Bounds(), GetParam().applied.value_or(FakeFormWindow::kDesigned));
  EXPECT_EQ(window->form.appliedPlacements.size(), GetParam().applied ? 2u : 1u);
  EXPECT_TRUE(world.errors.empty());
}

// The designed window is 950,138,1324,334.
INSTANTIATE_TEST_SUITE_P(Table, StoredNormalRectangle,
                         testing::Values(NormPosCase{"10,20,400,300", Rect{10, 20, 400, 300}},
                                         NormPosCase{"10,20,400", Rect{10, 20, 400, 334}},
                                         NormPosCase{" 10 , 20,,400 ,300", Rect{10, 20, 400, 300}},
                                         NormPosCase{",,10,,20", Rect{10, 20, 1324, 334}},
                                         NormPosCase{"x,20,1400,300", Rect{950, 20, 1400, 300}},
                                         NormPosCase{"10;20;400;300", Rect{950, 138, 1324, 334}},
                                         NormPosCase{"-10,-20,400,300", Rect{-10, -20, 400, 300}},
                                         NormPosCase{"500,20,400,300", std::nullopt},
                                         NormPosCase{"400,20,400,300", std::nullopt},
                                         NormPosCase{"1400,20", std::nullopt}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(FormStorage, MissingPositionWordsGiveZero) {
  settings.SeedText(kSection, "MinMaxPos", "5, 6");
  auto window = Open();

  ASSERT_EQ(window->form.appliedPlacements.size(), 2u);
  EXPECT_EQ(window->form.appliedPlacements[0].minPosition, (Point{5, 6}));
  EXPECT_EQ(window->form.appliedPlacements[0].maxPosition, (Point{0, 0}));
  EXPECT_EQ(window->form.appliedPlacements[0].normalPosition, FakeFormWindow::kDesigned);
}

struct ShowCase {
  std::string showCmd;
  WindowState state;
  bool minimizePosted;
};

class StoredShowState : public FormStorage, public testing::WithParamInterface<ShowCase> {};

TEST_P(StoredShowState, ComesUpNormalOrMaximizedAndLeavesMinimizingToTheThread) {
  settings.SeedText(kSection, "ShowCmd", GetParam().showCmd);
  auto window = Open();

  EXPECT_EQ(window->form.appliedStates, std::vector{GetParam().state});
  EXPECT_EQ(window->form.repaints, GetParam().minimizePosted ? 0 : 1);
  EXPECT_EQ(world.posted, GetParam().minimizePosted ? std::vector<std::uint32_t>{kScMinimize}
                                                    : std::vector<std::uint32_t>{});
}

INSTANTIATE_TEST_SUITE_P(Table, StoredShowState,
                         testing::Values(ShowCase{"3", WindowState::kMaximized, false},
                                         ShowCase{"2", WindowState::kNormal, true},
                                         ShowCase{"6", WindowState::kNormal, true},
                                         ShowCase{"7", WindowState::kNormal, true},
                                         ShowCase{"1", WindowState::kNormal, false},
                                         ShowCase{"5", WindowState::kNormal, false},
                                         ShowCase{"9", WindowState::kNormal, false},
                                         ShowCase{"0", WindowState::kNormal, false},
                                         ShowCase{"4", WindowState::kNormal, false},
                                         ShowCase{"", WindowState::kNormal, false},
                                         ShowCase{"3x", WindowState::kNormal, false}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

class NonTextPlacementValue : public FormStorage,
                              public testing::WithParamInterface<std::string> {};

TEST_P(NonTextPlacementValue, IsReportedAtEveryShowAndStopsAllWriting) {
  StoreThenSeedNumber(GetParam());
  const auto before = settings.Section(kSection);

  for (int run = 1; run <= 2; ++run) {
    auto window = Open();
    window->form.MoveTo({1, 2, 300, 400});
    Close(*window);
    EXPECT_EQ(world.errors.size(), static_cast<std::size_t>(run));
    EXPECT_EQ(world.errors.back(), "Invalid data type for '" + GetParam() + "'");
    EXPECT_FALSE(window->storage.WasLoaded());
    EXPECT_TRUE(window->form.appliedStates.empty());
  }
  EXPECT_EQ(world.shows, 3) << "the window still opens and recalculates";
  EXPECT_EQ(settings.Section(kSection), before);
}

INSTANTIATE_TEST_SUITE_P(Names, NonTextPlacementValue,
                         testing::Values("FormVersion", "Flags", "MinMaxPos(1920x1080)",
                                         "NormPos(1920x1080)", "PixelsPerInch", "ShowCmd"));

TEST_F(FormStorage, NonTextStoredValueIsReportedOnceAndReplaced) {
  StoreThenSeedNumber("CurrentBand");

  auto window = Open();
  EXPECT_EQ(world.errors, std::vector<std::string>{"Invalid data type for 'CurrentBand'"});
  EXPECT_TRUE(window->storage.WasLoaded());
  EXPECT_EQ(window->storage.CurrentBand(), (std::variant<int, std::string>(0)));
  Close(*window);
  EXPECT_EQ(settings.Section(kSection)->front(), (StoredEntry{"CurrentBand", true, "0"}));

  Close(*Open());
  EXPECT_EQ(world.errors.size(), 1u);
}

TEST_F(FormStorage, StoredValueTravelsUnchanged) {
  Close(*Open());
  settings.SeedText(kSection, "CurrentBand", "20m");

  auto window = Open();
  EXPECT_EQ(window->storage.CurrentBand(), (std::variant<int, std::string>("20m")));
  Close(*window);
  EXPECT_EQ(Texts()["CurrentBand"], "20m");
}

TEST_F(FormStorage, CloseQueryThenDestructionWritesOnce) {
  auto window = Open();
  bool canClose = true;
  window->storage.CloseQueryHook(canClose);
  EXPECT_TRUE(window->storage.WasStored());
  window->form.MoveTo({1, 2, 300, 400});
  Destroy(*window);

  EXPECT_EQ(Texts()["NormPos"], "950,138,1324,334");
  EXPECT_EQ(Texts()["Visible"], "0");
}

TEST_F(FormStorage, RefusedCloseWritesNothingUntilDestruction) {
  world.allowClose = false;
  auto window = Open();
  bool canClose = true;
  window->storage.CloseQueryHook(canClose);
  EXPECT_FALSE(canClose);
  EXPECT_EQ(settings.Section(kSection), std::nullopt);

  Destroy(*window);
  EXPECT_EQ(Texts()["Visible"], "1");
}

TEST_F(FormStorage, MinimizedWindowReleasedComesBackNormalAtItsRectangle) {
  auto window = Open();
  window->form.MoveTo({10, 20, 400, 300});
  window->form.state = WindowState::kMinimized;
  Destroy(*window);
  EXPECT_EQ(Texts()["ShowCmd"], "2");
  EXPECT_EQ(Texts()["Visible"], "1");
  EXPECT_FALSE(window->storage.InDestroy());

  window = Open();
  EXPECT_EQ(window->form.Bounds(), (Rect{10, 20, 400, 300}));
  EXPECT_EQ(window->form.state, WindowState::kNormal);
  EXPECT_EQ(world.posted, std::vector<std::uint32_t>{kScMinimize});
}

TEST_F(FormStorage, VersionBelowZeroSkipsPlacementAndStoredValue) {
  settings.SeedText(kSection, "FormVersion", "-1");
  settings.SeedText(kSection, "NormPos", "10,20,400,300");
  settings.SeedText(kSection, "ShowCmd", "3");
  settings.SeedText(kSection, "CurrentBand", "20m");

  auto window = Open();
  EXPECT_TRUE(window->storage.WasLoaded());
  EXPECT_EQ(window->form.Bounds(), FakeFormWindow::kDesigned);
  EXPECT_TRUE(window->form.appliedStates.empty());
  EXPECT_EQ(window->storage.CurrentBand(), (std::variant<int, std::string>(0)));
  Close(*window);
  EXPECT_EQ(Texts()["FormVersion"], "0");
  EXPECT_EQ(Texts()["CurrentBand"], "0");
}

TEST_F(FormStorage, FailedWriteIsRepeatedAtDestruction) {
  settings.RefuseSection(kSection);
  auto window = Open();
  EXPECT_TRUE(world.errors.empty());

  Close(*window);
  EXPECT_EQ(world.errors, std::vector<std::string>(2, "Failed to create key TfmMainForm"));
  EXPECT_FALSE(window->storage.WasStored());
  EXPECT_FALSE(window->storage.InDestroy());
}

TEST_F(FormStorage, UnusableApplicationKeyStoresNothingAnywhere) {
  world.executablePath = settings.UnusableExecutablePath();
  auto window = Open();
  EXPECT_TRUE(window->storage.WasLoaded());
  EXPECT_EQ(window->form.appliedStates, std::vector{WindowState::kNormal});

  Close(*window);
  EXPECT_TRUE(world.errors.empty());
  EXPECT_TRUE(window->storage.WasStored());
  EXPECT_FALSE(settings.RootHas(kSection));
  EXPECT_EQ(world.shows, 1);
}

}  // namespace
}  // namespace orva
