#pragma once
// Every failing operation throws an Error carrying the user-facing message;
// the GUI shows it in the error box, the CLI prints it and exits 1.
#include <stdexcept>
#include <string>
#include <string_view>

namespace mireforge {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the first "%s" or "%d" of a message pattern with the argument.
std::string FormatMessage(std::string_view pattern, std::string_view argument);
std::string FormatMessage(std::string_view pattern, long long argument);

}  // namespace mireforge
