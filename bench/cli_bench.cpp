#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace mireforge {
namespace {

// "mireforge-cli generate METHOD --width 512 --height 512 -o m.EXT" as one whole
// process: start, generation, writing the file and exit.
void BM_CliGenerate512(benchmark::State& state) {
  static const char* const methods[] = {"plasma", "cevo"};
  static const char* const extensions[] = {"php", "mmf", "bmp", "png"};
  const std::string method = methods[state.range(0)];
  const std::string out = (std::filesystem::temp_directory_path() /
                           ("mireforge-cli-bench-" + std::to_string(::getpid()) + "." + extensions[state.range(1)]))
                              .string();
  std::vector<std::string> words = {MIREFORGE_CLI_PATH, "generate", method, "--width", "512", "--height", "512",
                                    "--seed", "1", "-o", out};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start mireforge-cli");
      break;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("mireforge-cli failed");
      break;
    }
  }
  std::filesystem::remove(out);
}
BENCHMARK(BM_CliGenerate512)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3}})
    ->ArgNames({"plasma0_cevo1", "php0_mmf1_bmp2_png3"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace mireforge
