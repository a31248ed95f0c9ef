#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "big_project.h"
#include "formats/project_file.h"

extern char** environ;

namespace mireforge {
namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("mireforge-cli-bench-" + std::to_string(::getpid()) + name))
      .string();
}

double Milliseconds(const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; }

// Runs mireforge-cli with args once per iteration as a whole process, as a user
// starts it. Besides wall time, reports the child's CPU time (user + system) per
// run: on a shared machine that is the steadier figure. before runs ahead of
// each start, outside the timing.
void RunCli(benchmark::State& state, const std::vector<std::string>& args, const std::function<void()>& before = {}) {
  // MIREFORGE_BENCH_CLI times another build of the tool, for before and after figures.
  const char* other = std::getenv("MIREFORGE_BENCH_CLI");
  std::vector<std::string> words = {other && *other ? other : MIREFORGE_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // What the tool prints is not part of the figures.
  posix_spawn_file_actions_t quiet;
  ::posix_spawn_file_actions_init(&quiet);
  ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  double cpu = 0, user = 0;
  for (auto _ : state) {
    if (before) {
      state.PauseTiming();
      before();
      state.ResumeTiming();
    }
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start mireforge-cli");
      break;
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("mireforge-cli failed");
      break;
    }
    user += Milliseconds(usage.ru_utime);
    cpu += Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
  }
  ::posix_spawn_file_actions_destroy(&quiet);
  const double runs = static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = cpu / runs;
  state.counters["user_ms"] = user / runs;
}

// "mireforge-cli generate METHOD --width 512 --height 512 -o m.EXT": start,
// generation, writing the file and exit.
void BM_CliGenerate512(benchmark::State& state) {
  static const char* const methods[] = {"plasma", "cevo"};
  static const char* const extensions[] = {"php", "mmf", "bmp", "png"};
  const std::string out = TempPath(std::string(".") + extensions[state.range(1)]);
  RunCli(state, {"generate", methods[state.range(0)], "--width", "512", "--height", "512", "--seed", "1", "-o", out});
  std::filesystem::remove(out);
}
BENCHMARK(BM_CliGenerate512)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3}})
    ->ArgNames({"plasma0_cevo1", "php0_mmf1_bmp2_png3"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A 512 x 512 project with a text and a domain of its own in every cell (about 15 MB).
std::string WriteBigProjectFile() {
  const std::string path = TempPath("-in.mfp");
  WriteProjectFile(LargestProject(), path);
  return path;
}

// A few quiet seconds before a start, as a user's start follows: memory the system
// got back in the meantime costs a fresh process more than memory freed a moment ago.
void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(2500)); }

// Arg: started right after the last run (0) or after a pause (1).
void BM_CliStatsProject512(benchmark::State& state) {
  const std::string in = WriteBigProjectFile();
  RunCli(state, {"stats", in}, state.range(0) ? Pause : std::function<void()>());
  std::filesystem::remove(in);
}
BENCHMARK(BM_CliStatsProject512)->Arg(0)->Arg(1)->ArgName("pause")->Unit(benchmark::kMillisecond)->UseRealTime();

// Args: to a new file (0) or over an existing project (1: its foreign content is
// kept, so it is read first); started right after the last run (0) or after a pause (1).
void BM_CliConvertProject512(benchmark::State& state) {
  const std::string in = WriteBigProjectFile();
  const std::string out = TempPath("-out.mfp");
  std::filesystem::copy_file(in, out);
  RunCli(state, {"convert", in, "-o", out}, [&] {
    if (state.range(0) == 0) std::filesystem::remove(out);
    if (state.range(1)) Pause();
  });
  std::filesystem::remove(in);
  std::filesystem::remove(out);
}
BENCHMARK(BM_CliConvertProject512)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"over_existing", "pause"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace mireforge
