#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = mireforge::cli::RunCli(args, std::cout, std::cerr);
  std::cout.flush();
  // Output that could not be written (a full disk, a closed pipe) is a failure too.
  return status == 0 && !std::cout ? 1 : status;
}
