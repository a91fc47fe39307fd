// The placement as it lands in the native settings file, through the whole
// plug-in: the values, their order and their types, and how often
// a save writes the file and a load reads it.
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fake_form_window.h"
#include "tests/native/file_size_limit.h"
#include "tests/settings_fixture.h"
#include "window/form_storage.h"

namespace orva {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;

PlacementContext ContextFor(const test::TestSettings& settings) {
  return {[&settings] { return settings.ExecutablePath(); },
          [] {
            return platform::ScreenSize{1280, 1024};
          },
          [] { return 120; },
          [] {
            return Point{4, 4};
          },
          [](std::uint32_t) {}};
}

fs::path KeyDirectory(const test::TestSettings& settings) {
  return fs::path(std::getenv("XDG_CONFIG_HOME")) / "orva" / "Software" /
         ExeBaseName(settings.ExecutablePath(), "/");
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// What happens to the files of one directory, as the kernel tells it.
class DirectoryWatch {
 public:
  struct Counts {
    int opens = 0;         // the file opened
    int replacements = 0;  // a file renamed to the file's name
    int temporaries = 0;   // other files made beside it
  };

  explicit DirectoryWatch(const fs::path& directory)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(fd_, 0);
    // Closes are watched too, though not counted: the kernel merges an
    // event into the one before when they are alike, and a close between
    // two opens keeps them apart.
    EXPECT_GE(
        inotify_add_watch(fd_, directory.c_str(), IN_OPEN | IN_CLOSE | IN_MOVED_TO | IN_CREATE), 0);
  }
  ~DirectoryWatch() { close(fd_); }
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;

  // What happened to `name` since the last call.
  Counts Take(const std::string& name) {
    Counts counts;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t got; (got = read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        at += sizeof(inotify_event) + event->len;
        const std::string file = event->len > 0 ? event->name : "";
        EXPECT_FALSE(event->mask & IN_Q_OVERFLOW);
        if (file == name && (event->mask & IN_OPEN)) {
          ++counts.opens;
        } else if (file == name && (event->mask & IN_MOVED_TO)) {
          ++counts.replacements;
        } else if (!file.empty() && file != name && (event->mask & IN_CREATE)) {
          ++counts.temporaries;
        }
      }
    }
    return counts;
  }

 private:
  int fd_;
};

// One statistics window's storage over the test's settings, its errors kept.
struct StoredWindow {
  explicit StoredWindow(const test::TestSettings& settings) : storage(ContextFor(settings)) {
    storage.Attach(form, {}, [this](const std::string& message) { errors.push_back(message); });
    storage.ShowHook();
    form.visible = true;
  }
  void Close() {
    bool canClose = true;
    storage.CloseQueryHook(canClose);
    form.visible = false;
    storage.DestroyHook();
  }

  test::FakeFormWindow form;
  TFormStorage storage;
  std::vector<std::string> errors;
};

constexpr char kSectionFile[] = "TfmMainForm.values";

// The ten values of a save are written to the file in one go, and a load
// reads it once, however many values it looks up.
TEST(PlacementFile, ASaveReplacesTheFileOnceAndALoadReadsItOnce) {
  test::TestSettings settings;
  auto window = std::make_unique<StoredWindow>(settings);
  DirectoryWatch watch(KeyDirectory(settings));

  bool canClose = true;
  window->storage.CloseQueryHook(canClose);
  DirectoryWatch::Counts save = watch.Take(kSectionFile);
  EXPECT_EQ(save.replacements, 1) << "the first save, which makes the file";
  EXPECT_EQ(save.temporaries, 1);
  ASSERT_EQ(settings.Section("TfmMainForm")->size(), 10u);
  watch.Take(kSectionFile);  // the test's own reading

  window = std::make_unique<StoredWindow>(settings);
  const DirectoryWatch::Counts load = watch.Take(kSectionFile);
  EXPECT_EQ(load.opens, 1);
  EXPECT_EQ(load.replacements, 0);

  window->form.MoveTo({10, 20, 400, 300});
  window->storage.CloseQueryHook(canClose);
  save = watch.Take(kSectionFile);
  EXPECT_EQ(save.opens, 1) << "a save reads the file it rewrites once, too";
  EXPECT_EQ(save.replacements, 1);
  EXPECT_EQ(save.temporaries, 1);
  EXPECT_EQ(StoredWindow(settings).form.Bounds(), (Rect{10, 20, 400, 300}));
  EXPECT_TRUE(window->errors.empty());
}

// A save whose file cannot be written in the end fails as a failed write of
// its first value: nothing of it is stored, the error is shown, and the
// destruction tries again.
TEST(PlacementFile, AFileThatCannotBeWrittenFailsTheSaveAndTheDestructionTriesAgain) {
  test::TestSettings settings;
  StoredWindow(settings).Close();
  const fs::path file = KeyDirectory(settings) / kSectionFile;
  const std::string before = FileBytes(file);

  StoredWindow window(settings);
  window.form.MoveTo({1000, 2000, 3000, 4000});
  {
    const FileSizeLimit full(before.size());
    window.Close();
  }
  EXPECT_EQ(window.errors, std::vector<std::string>(2, "Failed to set data for 'FormVersion'"));
  EXPECT_FALSE(window.storage.WasStored());
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1)
      << "no temporary file is left";
}

// The first save makes the section; when its file cannot be made, the
// section is what failed, as when the key refuses it.
TEST(PlacementFile, ASectionWhoseFileCannotBeMadeFailsAsTheKey) {
  test::TestSettings settings;
  StoredWindow window(settings);
  {
    const FileSizeLimit full(4);
    window.Close();
  }
  EXPECT_EQ(window.errors, std::vector<std::string>(2, "Failed to create key TfmMainForm"));
  EXPECT_FALSE(window.storage.WasStored());
  EXPECT_EQ(settings.Section("TfmMainForm"), std::nullopt);
  EXPECT_TRUE(fs::is_empty(KeyDirectory(settings)));
}

// The registry does not promise an order of values, the file store keeps the
// order of writing: here the placement's order of writes shows on disk.
TEST(PlacementFile, HoldsTheTenValuesInTheOrderOfWriting) {
  test::TestSettings settings;
  test::FakeFormWindow form;
  TFormStorage storage({[&settings] { return settings.ExecutablePath(); },
                        [] {
                          return platform::ScreenSize{1280, 1024};
                        },
                        [] { return 120; },
                        [] {
                          return Point{4, 4};
                        },
                        [](std::uint32_t) {}});
  storage.Attach(form, {}, [](const std::string& message) { ADD_FAILURE() << message; });
  storage.ShowHook();
  form.visible = true;
  form.state = platform::WindowState::kMaximized;
  bool canClose = true;
  storage.CloseQueryHook(canClose);

  std::ifstream file(std::string(std::getenv("XDG_CONFIG_HOME")) + "/orva/Software/" +
                     ExeBaseName(settings.ExecutablePath(), "/") + "/TfmMainForm.values");
  std::ostringstream bytes;
  bytes << file.rdbuf();
  EXPECT_EQ(bytes.str(),
            "orva-settings 1\n"
            "sz:FormVersion=0\n"
            "sz:Flags=0\n"
            "sz:ShowCmd=3\n"
            "sz:PixelsPerInch=120\n"
            "sz:MinMaxPos(1280x1024)=-1,-1,-4,-4\n"
            "sz:MinMaxPos=-1,-1,-4,-4\n"
            "sz:NormPos(1280x1024)=950,138,1324,334\n"
            "sz:NormPos=950,138,1324,334\n"
            "sz:Visible=0\n"
            "sz:CurrentBand=0\n");
}

}  // namespace
}  // namespace orva
