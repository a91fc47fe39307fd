// The code page on Windows: the active ANSI code page decides which bytes
// lead a two-byte character, and with them which table names that end in a
// letter beyond ASCII the check refuses. ctest runs these tests again under a
// Japanese (932, double-byte) and a Cyrillic (1251, single-byte) system
// locale; ORVA_EXPECTED_ACP then names the code page the run must find.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "platform/code_page.h"
#include "scoring/recalculation.h"
#include "tests/names_beyond_ascii.h"

namespace orva {
namespace {

bool NoLeadBytes(char) {
  return false;
}

// The lead bytes of the system's code page, where the tests know them.
std::optional<LeadByteTest> KnownLeadBytes() {
  CPINFO info{};
  if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1) {
    return NoLeadBytes;
  }
  if (GetACP() == 932) {
    return test::IsShiftJisLeadByte;
  }
  return std::nullopt;
}

TEST(ActiveCodePage, IsTheOneTheRunAsksFor) {
  const char* expected = std::getenv("ORVA_EXPECTED_ACP");
  if (!expected) {
    GTEST_SKIP() << "the run names no code page; the system's is " << GetACP();
  }
  EXPECT_EQ(GetACP(), std::strtoul(expected, nullptr, 10))
      << "Wine takes the code page from LC_ALL; is that locale in LOCPATH?";
}

TEST(ActiveCodePage, LeadBytesAreThoseOfTheCodePage) {
  const std::optional<LeadByteTest> leadBytes = KnownLeadBytes();
  if (!leadBytes) {
    GTEST_SKIP() << "no table of lead bytes for code page " << GetACP();
  }
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    EXPECT_EQ(platform::IsLeadByte(c), (*leadBytes)(c)) << "byte " << byte;
  }
}

TEST(ActiveCodePage, NamesBeyondAsciiAreRefusedOnlyBeforeALeadByte) {
  const std::optional<LeadByteTest> leadBytes = KnownLeadBytes();
  if (!leadBytes) {
    GTEST_SKIP() << "no table of lead bytes for code page " << GetACP();
  }
  for (const test::NameBeyondAscii& name : test::kNamesBeyondAscii) {
    const bool safe = *leadBytes == test::IsShiftJisLeadByte ? name.safeUnderShiftJis : true;
    EXPECT_EQ(IsSafeTableName(name.name), safe) << name.name << " under code page " << GetACP();
  }
}

}  // namespace
}  // namespace orva
