#include <iostream>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return mireforge::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
