#pragma once
// The message a failing call gives, for tests that hold it to the user's text.
#include <string>

#include "base/error.h"

namespace mireforge {

// The text of the Error that action throws, or "(no error)" when it throws none.
template <class Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace mireforge
