// The build's real settings store, fenced off for one test: on Windows the
// per-user registry below a key named for the test alone, on the native build
// the file store below a temporary configuration directory. Everything made
// is removed again when the fixture goes.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orva::test {

struct StoredEntry {
  std::string name;
  bool isText = true;
  std::string text;  // a number's decimal text when not isText
  auto operator<=>(const StoredEntry&) const = default;
};

inline void PrintTo(const StoredEntry& entry, std::ostream* out) {
  *out << entry.name << (entry.isText ? " = \"" : " = number ") << entry.text
       << (entry.isText ? "\"" : "");
}

class TestSettings {
 public:
  TestSettings();
  ~TestSettings();
  TestSettings(const TestSettings&) = delete;
  TestSettings& operator=(const TestSettings&) = delete;

  // A host executable whose name gives this test's own application key.
  std::string ExecutablePath() const;
  // A host executable whose application key can neither be opened nor made.
  std::string UnusableExecutablePath() const;
  // "Software\" and the base name of ExecutablePath().
  std::string ApplicationKey() const;

  bool ApplicationKeyExists() const;
  // The section's values sorted by name (stores differ in the order they
  // list them); nothing when the section is missing.
  std::optional<std::vector<StoredEntry>> Section(const std::string& section) const;
  // Whether a key or section of that name sits right below the user's root.
  bool RootHas(const std::string& name) const;

  void SeedText(const std::string& section, const std::string& name, const std::string& text);
  // A value that is not text.
  void SeedNumber(const std::string& section, const std::string& name, std::uint32_t number);
  // Makes the application key refuse to create that section.
  void RefuseSection(const std::string& section);

 private:
  std::string baseName_;
  // Where the test's values live: the temporary configuration directory, or
  // the registry path of the application key.
  std::string root_;
};

}  // namespace orva::test
