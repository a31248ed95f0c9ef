#include "base/error.h"

namespace mireforge {

std::string FormatMessage(std::string_view pattern, std::string_view argument) {
  std::string result(pattern);
  std::size_t at = result.find("%s");
  if (at == std::string::npos) at = result.find("%d");
  if (at != std::string::npos) result.replace(at, 2, argument);
  return result;
}

std::string FormatMessage(std::string_view pattern, long long argument) {
  return FormatMessage(pattern, std::to_string(argument));
}

}  // namespace mireforge
