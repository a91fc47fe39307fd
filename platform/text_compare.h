// Case-insensitive text comparison under the user's locale rules.
//
// Multiplier keys are the one place where the contest ignores letter case,
// and which letters count as "the same" is the platform's business: Windows
// uses its locale-aware comparison, the native build the C library's single
// byte case folding. Counting multipliers must stay fast on large logs, so
// besides the comparison each platform gives a canonical form: two texts are
// equal ignoring case exactly when their canonical forms are equal bytes, and
// a hash set of canonical forms replaces a linear search.
#pragma once

#include <string>
#include <string_view>

namespace orva::platform {

bool EqualIgnoringCase(std::string_view a, std::string_view b);

std::string CaselessKey(std::string_view text);

}  // namespace orva::platform
