// The editor started as a user starts it, a whole process: empty, and opening a
// 512 x 512 project with a text and a domain in every cell. Reports the CPU time
// the process spent until it fell idle (user + system, the steadier figure on a
// shared machine) and, as the iteration time, when it fell idle. Each start
// follows a few quiet seconds, as a user's does: memory the system got back in
// the meantime costs a fresh process more than memory freed a moment ago.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "../big_project.h"
#include "formats/project_file.h"

extern char** environ;

namespace mireforge {
namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds the live threads of pid have run, from the scheduler's own count.
double RunNanoseconds(pid_t pid) {
  double total = 0;
  const QDir tasks(QString("/proc/%1/task").arg(pid));
  for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    std::ifstream in(tasks.filePath(task + "/schedstat").toStdString());
    double ns = 0;
    if (in >> ns) total += ns;
  }
  return total;
}

struct StartFigures {
  double cpuMs = 0;   // until idle
  double idleMs = 0;  // from the start to the last busy moment
  bool ok = false;
};

// Starts the editor (a copy in its own folder, so that no preferences or
// recovery copy of another run are read), waits until it has done nothing for
// 400 ms, and stops it.
StartFigures StartEditor(const QString& program, const std::vector<std::string>& args) {
  QTemporaryDir home;
  std::vector<std::string> words = {program.toStdString()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
      env.push_back(entry);
  }
  const std::string folder = home.path().toStdString();
  for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "XDG_CACHE_HOME="})
    env.push_back(name + folder);
  env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t quiet;
  ::posix_spawn_file_actions_init(&quiet);
  ::posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));

  StartFigures figures;
  pid_t child = 0;
  const Clock::time_point start = Clock::now();
  const int spawned = ::posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), envp.data());
  ::posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return figures;
  Clock::time_point lastBusy = start;
  double before = 0;
  // A poll that saw more than a tenth of a core busy counts as work.
  constexpr auto Poll = std::chrono::milliseconds(5);
  constexpr double BusyNs = 0.5e6;
  while (Clock::now() - lastBusy < std::chrono::milliseconds(400) && Clock::now() - start < std::chrono::seconds(20)) {
    std::this_thread::sleep_for(Poll);
    const double now = RunNanoseconds(child);
    if (now - before > BusyNs) lastBusy = Clock::now();
    before = now;
  }
  ::kill(child, SIGKILL);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  figures.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  figures.idleMs = std::chrono::duration<double, std::milli>(lastBusy - start).count();
  figures.ok = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  return figures;
}

// Arg 0: started without a file; 1: opening the project.
void BM_EditorStart(benchmark::State& state) {
  QTemporaryDir folder;
  // MIREFORGE_BENCH_EDITOR times another build of the editor, for before and after figures.
  const char* other = std::getenv("MIREFORGE_BENCH_EDITOR");
  const QString program = folder.filePath("mireforge");
  QFile::copy(other && *other ? QString(other) : QString(MIREFORGE_EDITOR_PATH), program);
  std::vector<std::string> args;
  if (state.range(0) == 1) {
    const std::string project = folder.filePath("big.mfp").toStdString();
    WriteProjectFile(LargestProject(), project);
    args.push_back(project);
  }
  double cpu = 0, idle = 0;
  for (auto _ : state) {
    const StartFigures figures = StartEditor(program, args);
    if (!figures.ok) {
      state.SkipWithError("the editor did not stay up until it was stopped");
      break;
    }
    state.SetIterationTime(figures.idleMs / 1e3);
    cpu += figures.cpuMs;
    idle += figures.idleMs;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = cpu / runs;
  state.counters["idle_ms"] = idle / runs;
}
BENCHMARK(BM_EditorStart)->Arg(0)->Arg(1)->ArgName("project512")->UseManualTime()->Iterations(6)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
