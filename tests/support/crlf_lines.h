#pragma once
// Splits a written text file into its lines, checking every line ends with CR LF.
#include <string>
#include <vector>

namespace mireforge {

// The lines without their CR LF; a test failure is recorded when the text does
// not end with CR LF.
std::vector<std::string> SplitCrLfLines(const std::string& text);

}  // namespace mireforge
