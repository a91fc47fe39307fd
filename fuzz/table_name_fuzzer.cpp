// Fuzz target: the table-name check that guards the recalculation's query.
//
// The input is the table name itself, as a host could put it into the
// record's TableName field (at most 255 bytes; longer inputs are cut). The
// answer is checked against the rule written as a regular expression: one or
// more identifiers of ASCII letters, digits and underscores, joined by single
// dots, each either bare or wrapped whole in [..], ".." or `..`. A name the
// check lets through goes verbatim into SQL, so an answer of "safe" that the
// rule does not give is an injection, and the opposite a working log refused.
#include <regex>
#include <string>

#include "fuzz/fuzz_support.h"
#include "scoring/recalculation.h"

namespace {

bool SafeByRule(const std::string& name) {
  static const std::regex rule(
      R"(^(?:[A-Za-z0-9_]+|\[[A-Za-z0-9_]+\]|"[A-Za-z0-9_]+"|`[A-Za-z0-9_]+`))"
      R"((?:\.(?:[A-Za-z0-9_]+|\[[A-Za-z0-9_]+\]|"[A-Za-z0-9_]+"|`[A-Za-z0-9_]+`))*$)");
  return std::regex_match(name, rule);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  const std::string name(input.Bytes(255));
  const bool safe = orva::IsSafeTableName(name);
  ORVA_REQUIRE(safe == SafeByRule(name), "name \"%s\": check says %s",
               orva::fuzz::Shown(name).c_str(), safe ? "safe" : "unsafe");
  return 0;
}
