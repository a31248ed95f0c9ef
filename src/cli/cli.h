#pragma once
// mireforge-cli: batch generation, conversion and export over the core.
#include <iosfwd>
#include <string>
#include <vector>

namespace mireforge::cli {

// Runs one command line (without the program name). Returns the exit status:
// 0 success, 1 the operation failed, 2 a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mireforge::cli
