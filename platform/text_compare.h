// Letter case under the user's locale rules: the caseless comparison of
// multiplier keys, and lowering for texts the operator reads.
//
// Multiplier keys are the one place where the contest ignores letter case,
// and which letters count as "the same" is the platform's business: Windows
// uses its locale-aware comparison, the native build the C library's single
// byte case folding. Counting multipliers must stay fast on large logs, so
// besides the comparison each platform gives a hash that agrees with it (two
// texts equal ignoring case hash alike), and a hash set under the comparison
// replaces a linear search.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orva::platform {

bool EqualIgnoringCase(std::string_view a, std::string_view b);

std::size_t CaselessHash(std::string_view text);

// The text with every letter in lower case, by the same locale's rules, so
// that a title shows the operator's letters the way the system writes them.
std::string LowerCase(std::string_view text);

}  // namespace orva::platform
