// The one error type of the plug-in: a failure carrying the message text the
// user sees in the error box. Platform layers and contest logic both raise it;
// it is caught only where the window handles an event and at every export,
// and in the native host's main(), which tells its own failures the same way.
#pragma once

#include <stdexcept>
#include <string>

namespace orva {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace orva
