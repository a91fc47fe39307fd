// Fuzz target: the reference file's line splitting and the callsign lookup.
//
// Input, in order: a count byte (up to 7 callsigns are read), that many
// callsigns (a length byte, then that many bytes), a host executable path
// (the same), and the rest is the reference file's bytes.
//
// The lines must be the ones the line-break rules give, and every lookup must
// answer what a scan of all lines gives (fuzz_support.h). Besides the input's
// callsigns the target looks up, for the first lines, the key before each
// line's "=" and that key cut short by one byte, so that matches, near misses
// and later lines overriding earlier ones are tried on every input.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/host_process.h"
#include "scoring/reference_list.h"

namespace {

using orva::fuzz::Shown;

constexpr std::size_t kMaxCalls = 7;
constexpr std::size_t kKeyedLines = 32;

// The key of each of the first lines, whole and cut short by one byte.
std::vector<std::string> KeysOf(const std::vector<std::string>& lines) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < lines.size() && i < kKeyedLines; ++i) {
    const std::string_view trimmed = orva::fuzz::TrimmedBySpec(lines[i]);
    const std::string_view key = trimmed.substr(0, trimmed.find('='));
    keys.emplace_back(key);
    if (!key.empty()) {
      keys.emplace_back(key.substr(0, key.size() - 1));
    }
  }
  return keys;
}

void CheckReferencePath(const std::string& executable) {
  const std::string path = orva::ReferenceFilePath(executable);
  const std::string tail = std::string("Plugins") + orva::platform::kPathSeparator + "ORVA.txt";
  const std::size_t cut = executable.find_last_of(orva::platform::kPathDelimiters);
  const std::string directory = cut == std::string::npos ? "" : executable.substr(0, cut + 1);
  ORVA_REQUIRE(path == directory + tail, "host \"%s\" gave \"%s\"", Shown(executable).c_str(),
               Shown(path).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  const std::size_t count = input.Byte() % (kMaxCalls + 1);
  std::vector<std::string_view> given;
  for (std::size_t i = 0; i < count; ++i) {
    given.push_back(input.Text());
  }
  CheckReferencePath(std::string(input.Text()));
  const std::string_view file = input.Rest();

  orva::TReferenceList list;
  list.Assign(file);
  const std::vector<std::string> expectedLines = orva::fuzz::LinesBySpec(file);
  ORVA_REQUIRE(list.lines() == expectedLines, "%zu lines, expected %zu, from \"%s\"",
               list.lines().size(), expectedLines.size(), Shown(file).c_str());

  std::vector<std::string> calls = KeysOf(expectedLines);
  calls.insert(calls.end(), given.begin(), given.end());
  for (const std::string& call : calls) {
    const std::string found = list.LookUp(call);
    const std::string expected = orva::fuzz::LookUpBySpec(expectedLines, call);
    ORVA_REQUIRE(found == expected, "\"%s\" gave \"%s\", expected \"%s\", file \"%s\"",
                 Shown(call).c_str(), Shown(found).c_str(), Shown(expected).c_str(),
                 Shown(file).c_str());
  }
  return 0;
}
