#pragma once
// mireforge-cli: batch generation, conversion and export over the core.
#include <iosfwd>
#include <string>
#include <vector>

namespace mireforge::cli {

// Runs one command line (without the program name). Returns the exit status:
// 0 success, 1 the operation failed, 2 a usage error. Long work draws a
// progress bar on err only when showProgress is set (err is a terminal).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress = false);

}  // namespace mireforge::cli
