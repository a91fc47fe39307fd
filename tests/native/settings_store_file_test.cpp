// The native settings store over real files: the file's format and its
// escapes, whole-file replacement, damaged and oversized files, full disks,
// unwritable folders, and a key that holds its writes until it is closed.
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/native/orva_native.h"
#include "platform/settings_store.h"
#include "tests/native/file_size_limit.h"

namespace orva::platform {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using Kind = SettingsValue::Kind;

constexpr char kHeader[] = "orva-settings 1\n";

class FileStore : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orva-store-XXXXXX").string();
    root = mkdtemp(pattern.data());
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  }
  void TearDown() override {
    chmod(KeyDirectory().c_str(), 0700);
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(root);
  }

  fs::path KeyDirectory() const { return fs::path(root) / "orva" / "Software" / "Logger"; }
  fs::path SectionFile() const { return KeyDirectory() / "Main.values"; }

  std::unique_ptr<SettingsSection> Section(SettingsAccess access = SettingsAccess::kAll) {
    auto key = OpenApplicationKey("Software\\Logger", access);
    EXPECT_NE(key, nullptr);
    return key && key->CreateSection("Main") ? key->OpenSection("Main") : nullptr;
  }

  void PutFile(const std::string& bytes) {
    fs::create_directories(KeyDirectory());
    std::ofstream(SectionFile(), std::ios::binary) << bytes;
  }

  std::string FileBytes(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::vector<std::string> KeyDirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(KeyDirectory())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string root;
};

TEST_F(FileStore, KeepsValuesInWriteOrderAndEscapesOnlyWhatMustBe) {
  auto section = Section();
  ASSERT_NE(section, nullptr);
  ASSERT_TRUE(section->WriteText("NormPos(1920x1080)", "950,138,1324,334"));
  ASSERT_TRUE(section->WriteText("Odd=name", std::string("a%b\nc\0d", 7)));
  ASSERT_TRUE(section->WriteText("Empty", ""));
  ASSERT_TRUE(section->WriteText("NormPos(1920x1080)", "1,2,3,4"));

  EXPECT_EQ(FileBytes(SectionFile()), std::string(kHeader) +
                                          "sz:NormPos(1920x1080)=1,2,3,4\n"
                                          "sz:Odd%3Dname=a%25b%0Ac%00d\n"
                                          "sz:Empty=\n");
  section = Section(SettingsAccess::kRead);
  EXPECT_EQ(section->Read("NormPos(1920x1080)").text, "1,2,3,4");
  EXPECT_EQ(section->Read("Odd=name").text, "a%b\nc") << "a text ends at its first NUL";
  EXPECT_EQ(section->Read("Empty").kind, Kind::kText);
  EXPECT_EQ(section->Read("Missing").kind, Kind::kAbsent);
}

TEST_F(FileStore, ReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  auto section = Section();
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(section->WriteText("Value" + std::to_string(i), std::to_string(i)));
  }
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(fs::status(SectionFile()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FileStore, ReadAccessWritesNothing) {
  Section()->WriteText("A", "1");
  EXPECT_FALSE(Section(SettingsAccess::kRead)->WriteText("A", "2"));
  EXPECT_EQ(Section()->Read("A").text, "1");
}

TEST_F(FileStore, NumbersAreValuesOfAnotherType) {
  PutFile(std::string(kHeader) + "dword:Flags=7\n");
  EXPECT_EQ(Section()->Read("Flags").kind, Kind::kOtherType);
}

struct DamageCase {
  std::string bytes;
  std::optional<std::string> a;  // what "A" reads as; nothing when absent
  std::optional<std::string> b;
};

class DamagedFile : public FileStore, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, ReadsWhatParsesAndKeepsTheOldFileAtTheNextWrite) {
  PutFile(GetParam().bytes);
  auto section = Section();
  ASSERT_NE(section, nullptr);
  const auto textOf = [&](const char* name) -> std::optional<std::string> {
    const SettingsValue value = section->Read(name);
    return value.kind == Kind::kText ? std::optional(value.text) : std::nullopt;
  };
  EXPECT_EQ(textOf("A"), GetParam().a);
  EXPECT_EQ(textOf("B"), GetParam().b);

  ASSERT_TRUE(section->WriteText("C", "3"));
  EXPECT_EQ(FileBytes(SectionFile().string() + ".damaged"), GetParam().bytes);
  EXPECT_EQ(Section()->Read("C").text, "3");
  EXPECT_EQ(Section()->Read("A").text, GetParam().a.value_or(""));
}

const std::string kGood = std::string(kHeader) + "sz:A=1\n";

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedFile,
    testing::Values(DamageCase{"", std::nullopt, std::nullopt},
                    DamageCase{std::string("\0\xff\x01garbage", 10), std::nullopt, std::nullopt},
                    DamageCase{"orva-settings 2\nsz:A=1\n", std::nullopt, std::nullopt},
                    DamageCase{"orva-settings 1\r\nsz:A=1\r\n", std::nullopt, std::nullopt},
                    DamageCase{"orva-settings", std::nullopt, std::nullopt},
                    DamageCase{kGood + "sz:B=2", "1", std::nullopt},
                    DamageCase{kGood + "sz:B", "1", std::nullopt},
                    DamageCase{kGood + "zz:B=2\n", "1", std::nullopt},
                    DamageCase{kGood + "B=2\n", "1", std::nullopt},
                    DamageCase{kGood + "sz:B=%4\n", "1", std::nullopt},
                    DamageCase{kGood + "sz:B=%g1\n", "1", std::nullopt},
                    DamageCase{kGood + "sz:B=\x01\n", "1", std::nullopt},
                    DamageCase{kGood + "\nsz:B=2\n", "1", "2"},
                    DamageCase{kGood + "sz:A=2\nsz:B=2\n", "1", "2"},
                    DamageCase{kGood + "dword:B=12x\n", "1", std::nullopt},
                    DamageCase{kGood + "dword:B=4294967296\n", "1", std::nullopt}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(FileStore, EveryCutOfAFileReadsOnlyWholeValues) {
  auto section = Section();
  section->WriteText("NormPos", "950,138,1324,334");
  section->WriteText("Band", "20m");
  const std::string whole = FileBytes(SectionFile());

  for (std::size_t length = 0; length < whole.size(); ++length) {
    PutFile(whole.substr(0, length));
    section = Section();
    for (const auto& [name, text] : {std::pair{"NormPos", "950,138,1324,334"}, {"Band", "20m"}}) {
      const SettingsValue value = section->Read(name);
      EXPECT_TRUE(value.kind == Kind::kAbsent || value.text == text) << length << " " << name;
    }
  }
}

TEST_F(FileStore, AnOversizedFileHoldsNoValues) {
  PutFile(kGood + std::string(2 << 20, 'x'));
  EXPECT_EQ(Section()->Read("A").kind, Kind::kAbsent);
}

TEST_F(FileStore, AWriteCutShortLosesNothing) {
  auto section = Section();
  ASSERT_TRUE(section->WriteText("A", "1"));
  const std::string before = FileBytes(SectionFile());

  // The disk fills up in the middle of the new file.
  const bool written = [&] {
    const FileSizeLimit full(before.size() + 4);
    return section->WriteText("B", std::string(100, 'b'));
  }();

  EXPECT_FALSE(written);
  EXPECT_EQ(FileBytes(SectionFile()), before);
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(section->Read("B").kind, Kind::kAbsent);
}

// Permissions do not bind the superuser, so run as root the check is made
// by a child process that has given up its rights first.
TEST_F(FileStore, AnUnwritableDirectoryFailsTheWriteAndLosesNothing) {
  ASSERT_TRUE(Section()->WriteText("A", "1"));
  for (const fs::path& dir :
       {fs::path(root), fs::path(root) / "orva", KeyDirectory().parent_path()}) {
    chmod(dir.c_str(), 0755);
  }
  chmod(SectionFile().c_str(), 0644);
  chmod(KeyDirectory().c_str(), 0555);
  const auto writeFailsAndKeepsTheValue = [this] {
    auto section = Section();
    return section && !section->WriteText("A", "2") && section->Read("A").text == "1" &&
           Section(SettingsAccess::kRead)->Read("A").text == "1";
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(writeFailsAndKeepsTheValue());
    return;
  }
  constexpr uid_t kNobody = 65534;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const bool dropped = setgid(kNobody) == 0 && setuid(kNobody) == 0;
    _exit(dropped && writeFailsAndKeepsTheValue() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

TEST_F(FileStore, AnOpenKeyHoldsItsWritesAndWritesThemWhenClosed) {
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->CreateSection("Main"));
  auto section = key->OpenSection("Main");
  ASSERT_TRUE(section->WriteText("A", "1"));
  ASSERT_TRUE(key->OpenSection("Main")->WriteText("B", "2"));
  ASSERT_TRUE(section->WriteText("A", "3"));
  EXPECT_EQ(section->Read("A").text, "3") << "what is held reads as written";
  EXPECT_EQ(key->OpenSection("Main")->Read("B").text, "2");
  EXPECT_FALSE(fs::exists(SectionFile())) << "not even the new section is made yet";

  EXPECT_EQ(key->Close(), std::nullopt);
  EXPECT_EQ(FileBytes(SectionFile()), std::string(kHeader) + "sz:A=3\nsz:B=2\n");
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(key->Close(), std::nullopt) << "closing again does nothing";
  EXPECT_FALSE(key->CreateSection("Main"));
  EXPECT_EQ(key->OpenSection("Main"), nullptr);

  // The section outlives its key and writes at once from now on.
  ASSERT_TRUE(section->WriteText("C", "4"));
  EXPECT_EQ(FileBytes(SectionFile()), std::string(kHeader) + "sz:A=3\nsz:B=2\nsz:C=4\n");
}

TEST_F(FileStore, AKeyReadsASectionOnce) {
  PutFile(kGood);
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kRead);
  EXPECT_EQ(key->OpenSection("Main")->Read("A").text, "1");
  PutFile(std::string(kHeader) + "sz:A=2\n");
  EXPECT_EQ(key->OpenSection("Main")->Read("A").text, "1") << "what the key read first";
  EXPECT_EQ(Section(SettingsAccess::kRead)->Read("A").text, "2") << "a new key reads anew";
}

TEST_F(FileStore, AKeyThatOnlyReadsOrCreatesAnExistingSectionWritesNothing) {
  PutFile(std::string("garbage\n"));
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->CreateSection("Main"));
  EXPECT_EQ(key->OpenSection("Main")->Read("A").kind, Kind::kAbsent);
  EXPECT_EQ(key->Close(), std::nullopt);
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(FileBytes(SectionFile()), "garbage\n");

  // The first key that writes keeps the damaged file.
  key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->OpenSection("Main")->WriteText("A", "1"));
  EXPECT_EQ(key->Close(), std::nullopt);
  EXPECT_EQ(FileBytes(SectionFile()), kGood);
  EXPECT_EQ(FileBytes(SectionFile().string() + ".damaged"), "garbage\n");
}

TEST_F(FileStore, AKeyDestroyedOpenWritesWhatItHolds) {
  {
    auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
    ASSERT_TRUE(key->CreateSection("Main"));
    ASSERT_TRUE(key->OpenSection("Main")->WriteText("A", "1"));
  }
  EXPECT_EQ(FileBytes(SectionFile()), kGood);
}

TEST_F(FileStore, AFailedCloseNamesTheFirstValueWrittenAndLosesNothing) {
  PutFile(kGood);
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->CreateSection("Main"));
  auto section = key->OpenSection("Main");
  ASSERT_TRUE(section->WriteText("B", std::string(100, 'b')));
  ASSERT_TRUE(section->WriteText("A", "2"));

  std::optional<SettingsLoss> loss;
  {
    const FileSizeLimit full(kGood.size() + 4);
    loss = key->Close();
  }
  ASSERT_NE(loss, std::nullopt);
  EXPECT_EQ(loss->section, "Main");
  EXPECT_EQ(loss->name, "B");
  EXPECT_FALSE(loss->sectionMissing);
  EXPECT_EQ(FileBytes(SectionFile()), kGood);
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(section->Read("B").kind, Kind::kAbsent) << "nothing reads as stored that is not";
  EXPECT_EQ(section->Read("A").text, "1");
}

TEST_F(FileStore, AFailedCloseOfANewSectionTellsItIsMissing) {
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->CreateSection("Main"));
  auto section = key->OpenSection("Main");
  ASSERT_TRUE(section->WriteText("A", "1"));

  std::optional<SettingsLoss> loss;
  {
    const FileSizeLimit full(4);
    loss = key->Close();
  }
  ASSERT_NE(loss, std::nullopt);
  EXPECT_EQ(loss->section, "Main");
  EXPECT_EQ(loss->name, "A");
  EXPECT_TRUE(loss->sectionMissing);
  EXPECT_TRUE(fs::is_empty(KeyDirectory()));
  EXPECT_EQ(section->Read("A").kind, Kind::kAbsent);
  EXPECT_EQ(OpenApplicationKey("Software\\Logger", SettingsAccess::kRead)->OpenSection("Main"),
            nullptr);

  // Creating alone is held the same way.
  key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  ASSERT_TRUE(key->CreateSection("Main"));
  {
    const FileSizeLimit full(4);
    loss = key->Close();
  }
  ASSERT_NE(loss, std::nullopt);
  EXPECT_EQ(loss->name, "");
  EXPECT_TRUE(loss->sectionMissing);
}

TEST_F(FileStore, ASectionThatIsNoFileCanNeitherBeCreatedNorOpened) {
  fs::create_directories(SectionFile());
  auto key = OpenApplicationKey("Software\\Logger", SettingsAccess::kAll);
  EXPECT_FALSE(key->CreateSection("Main"));
  EXPECT_EQ(key->OpenSection("Main"), nullptr);
  EXPECT_FALSE(key->CreateSection("a/b"));
  EXPECT_FALSE(key->CreateSection(""));
}

struct UnusableKeyCase {
  std::string path;
  bool configIsAFile = false;
};

class UnusableKey : public FileStore, public testing::WithParamInterface<UnusableKeyCase> {};

TEST_P(UnusableKey, IsNotOpened) {
  if (GetParam().configIsAFile) {
    const std::string file = root + "/file";
    std::ofstream(file) << "x";
    setenv("XDG_CONFIG_HOME", file.c_str(), 1);
  }
  EXPECT_EQ(OpenApplicationKey(GetParam().path, SettingsAccess::kAll), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, UnusableKey,
                         testing::Values(UnusableKeyCase{"Software\\" + std::string(300, 'x')},
                                         UnusableKeyCase{"Software\\.."},
                                         UnusableKeyCase{"Software\\a/b"},
                                         UnusableKeyCase{"Software\\Logger", true}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(FileStore, FallsBackToTheHomeConfigurationWhenTheSettingIsNotAbsolute) {
  const char* home = getenv("HOME");
  const std::string savedHome = home ? home : "";
  setenv("HOME", root.c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative", 1);
  const bool opened = OpenApplicationKey("Software\\Logger", SettingsAccess::kRead) != nullptr;
  setenv("HOME", savedHome.c_str(), 1);

  EXPECT_TRUE(opened);
  EXPECT_TRUE(fs::is_directory(fs::path(root) / ".config" / "orva" / "Software" / "Logger"));
}

TEST_F(FileStore, SettingsKeptInMemoryServeTheRunAndTouchNoFolder) {
  PutFile(std::string(kHeader) + "sz:A=on disk\n");
  orva_keep_settings_in_memory(1);
  EXPECT_EQ(Section()->Read("A").kind, Kind::kAbsent);
  Section()->WriteText("A", "in memory");
  const std::string kept = Section(SettingsAccess::kRead)->Read("A").text;
  orva_keep_settings_in_memory(0);

  EXPECT_EQ(kept, "in memory");
  EXPECT_EQ(FileBytes(SectionFile()), std::string(kHeader) + "sz:A=on disk\n");
  EXPECT_EQ(KeyDirectoryEntries(), std::vector<std::string>{"Main.values"});
  EXPECT_EQ(Section()->Read("A").text, "on disk");
}

}  // namespace
}  // namespace orva::platform
