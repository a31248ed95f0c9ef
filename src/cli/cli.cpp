#include "cli/cli.h"

#include <ostream>

namespace mireforge::cli {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  (void)args;
  (void)out;
  err << "usage: mireforge-cli COMMAND ...\n";
  return 2;
}

}  // namespace mireforge::cli
