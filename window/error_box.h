// The error box in which the plug-in reports failures to the operator, its
// words as scoring/error_box_text.h forms them.
#pragma once

#include <string_view>

#include "scoring/error_box_text.h"

namespace orva {

// Shows `message` in the error box; returns when the user has closed it.
void ShowErrorMessage(std::string_view message);

}  // namespace orva
