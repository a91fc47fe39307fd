// The test settings store of the native build: the file store below a fresh
// configuration directory, read and seeded through its documented format so
// that the tests also check the layout on disk.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/settings_fixture.h"

namespace orva::test {

namespace {

constexpr char kHeader[] = "orva-settings 1";

int nextFixture = 0;
// The configuration directory from before the running fixture.
std::optional<std::string> savedConfigHome;

std::vector<std::string> FileLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

std::string LineName(const std::string& line) {
  const std::size_t colon = line.find(':');
  return line.substr(colon + 1, line.find('=') - colon - 1);
}

std::filesystem::path KeyDirectory(const std::string& root, const std::string& baseName) {
  return std::filesystem::path(root) / "orva" / "Software" / baseName;
}
std::filesystem::path SectionFile(const std::string& root, const std::string& baseName,
                                  const std::string& section) {
  return KeyDirectory(root, baseName) / (section + ".values");
}

void SeedLine(const std::filesystem::path& file, const std::string& name, const std::string& line) {
  std::filesystem::create_directories(file.parent_path());
  std::vector<std::string> lines = FileLines(file);
  if (lines.empty()) {
    lines.push_back(kHeader);
  }
  bool replaced = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (LineName(lines[i]) == name) {
      lines[i] = line;
      replaced = true;
    }
  }
  if (!replaced) {
    lines.push_back(line);
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const std::string& each : lines) {
    out << each << '\n';
  }
}

}  // namespace

TestSettings::TestSettings()
    : baseName_("orva-test-" + std::to_string(getpid()) + "-" + std::to_string(nextFixture++)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "orva-settings-XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  const char* configHome = getenv("XDG_CONFIG_HOME");
  savedConfigHome = configHome ? std::optional<std::string>(configHome) : std::nullopt;
  setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
}

TestSettings::~TestSettings() {
  if (savedConfigHome) {
    setenv("XDG_CONFIG_HOME", savedConfigHome->c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TestSettings::ExecutablePath() const {
  return "/opt/hosts/" + baseName_ + ".bin";
}

std::string TestSettings::UnusableExecutablePath() const {
  return "/opt/hosts/" + std::string(300, 'x') + ".bin";
}

std::string TestSettings::ApplicationKey() const {
  return "Software\\" + baseName_;
}

bool TestSettings::ApplicationKeyExists() const {
  return std::filesystem::is_directory(KeyDirectory(root_, baseName_));
}

std::optional<std::vector<StoredEntry>> TestSettings::Section(const std::string& section) const {
  const auto file = SectionFile(root_, baseName_, section);
  if (!std::filesystem::is_regular_file(file)) {
    return std::nullopt;
  }
  std::vector<std::string> lines = FileLines(file);
  if (lines.empty() || lines.front() != kHeader) {
    return std::nullopt;
  }
  std::vector<StoredEntry> entries;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    entries.push_back({LineName(line), line.starts_with("sz:"), line.substr(line.find('=') + 1)});
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool TestSettings::RootHas(const std::string& name) const {
  const auto root = std::filesystem::path(root_) / "orva";
  return std::filesystem::exists(root / name) || std::filesystem::exists(root / (name + ".values"));
}

void TestSettings::SeedText(const std::string& section, const std::string& name,
                            const std::string& text) {
  SeedLine(SectionFile(root_, baseName_, section), name, "sz:" + name + "=" + text);
}

void TestSettings::SeedNumber(const std::string& section, const std::string& name,
                              std::uint32_t number) {
  SeedLine(SectionFile(root_, baseName_, section), name,
           "dword:" + name + "=" + std::to_string(number));
}

void TestSettings::RefuseSection(const std::string& section) {
  // A directory where the section's file belongs can be neither read nor
  // replaced, whoever runs the tests.
  std::filesystem::create_directories(SectionFile(root_, baseName_, section));
}

}  // namespace orva::test
