#include "app/error_text.h"

#include <exception>

namespace trotix {

std::string CurrentErrorText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unexpected error (not a standard exception)";
  }
}

}  // namespace trotix
