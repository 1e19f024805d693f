#pragma once
// What an exception in flight says, for the errors or status line at a thread's edge.
#include <string>

namespace trotix {

// Inside a `catch`: the exception's own text, or a plain one when it is no std::exception.
std::string CurrentErrorText();

}  // namespace trotix
