// The code page on the native build: the database gets the query's bytes as
// they are, so no byte leads a two-byte character and the table-name check
// refuses no letter beyond ASCII before a closing quote.
#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "scoring/recalculation.h"
#include "tests/names_beyond_ascii.h"

namespace orva {
namespace {

TEST(NativeCodePage, NoByteLeadsATwoByteCharacter) {
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_FALSE(platform::IsLeadByte(static_cast<char>(byte))) << byte;
  }
}

TEST(NativeCodePage, EveryNameBeyondAsciiPasses) {
  for (const test::NameBeyondAscii& name : test::kNamesBeyondAscii) {
    EXPECT_TRUE(IsSafeTableName(name.name)) << name.name;
  }
}

}  // namespace
}  // namespace orva
