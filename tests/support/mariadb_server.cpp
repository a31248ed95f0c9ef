#include "support/mariadb_server.h"

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace mireforge {

namespace {

// The program's full path: PATH first, then the sbin folders where Debian puts the server.
std::string FindProgram(const std::string& name) {
  std::vector<std::string> folders;
  if (const char* path = std::getenv("PATH")) {
    std::stringstream list(path);
    for (std::string folder; std::getline(list, folder, ':');)
      if (!folder.empty()) folders.push_back(folder);
  }
  folders.insert(folders.end(), {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// Starts a program with its standard streams on the given files ("" keeps /dev/null).
pid_t Spawn(const std::vector<std::string>& args, const std::string& in, const std::string& out,
            const std::string& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.empty() ? "/dev/null" : in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.empty() ? "/dev/null" : out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.empty() ? "/dev/null" : err.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Tail(const std::string& text) { return text.size() > 800 ? text.substr(text.size() - 800) : text; }

}  // namespace

MariaDbServer::MariaDbServer() {
  socket_ = dir_.File("server.sock");
  started_ = Start();
  if (!started_) Stop();
}

MariaDbServer::~MariaDbServer() { Stop(); }

bool MariaDbServer::Start() {
  const std::string install = FindProgram("mariadb-install-db");
  const std::string server = FindProgram("mariadbd");
  const std::string admin = FindProgram("mariadb-admin");
  if (install.empty() || server.empty() || admin.empty() || FindProgram("mariadb").empty()) {
    problem_ = "MariaDB server programs (mariadb-install-db, mariadbd, mariadb-admin, mariadb) not found";
    return false;
  }
  const passwd* user = ::getpwuid(::geteuid());
  const std::string userName = user ? user->pw_name : "root";
  const std::string data = dir_.File("data");
  const pid_t installer = Spawn({install, "--no-defaults", "--datadir=" + data, "--user=" + userName,
                                 "--auth-root-authentication-method=normal", "--skip-test-db"},
                                "", dir_.File("install.log"), dir_.File("install.log"));
  if (installer < 0 || WaitFor(installer) != 0) {
    problem_ = "mariadb-install-db failed: " + Tail(ReadText(dir_.File("install.log")));
    return false;
  }
  pid_ = Spawn({server, "--no-defaults", "--datadir=" + data, "--socket=" + socket_, "--skip-networking",
                "--user=" + userName, "--pid-file=" + dir_.File("server.pid"), "--log-error=" + dir_.File("server.log")},
               "", "", "");
  if (pid_ < 0) {
    problem_ = "mariadbd could not be started";
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      problem_ = "mariadbd stopped at start-up: " + Tail(ReadText(dir_.File("server.log")));
      return false;
    }
    const pid_t ping = Spawn({admin, "--no-defaults", "--socket=" + socket_, "--user=root", "ping"}, "", "", "");
    if (ping >= 0 && WaitFor(ping) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  problem_ = "mariadbd did not answer within 90 s: " + Tail(ReadText(dir_.File("server.log")));
  return false;
}

void MariaDbServer::Stop() {
  if (pid_ < 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  pid_ = -1;
}

MariaDbServer::Result MariaDbServer::RunScript(const std::string& scriptPath, const std::string& database,
                                               const std::string& characterSet) const {
  std::vector<std::string> args = {FindProgram("mariadb"), "--no-defaults", "--socket=" + socket_, "--user=root",
                                   "--default-character-set=" + characterSet, "--batch", "--skip-column-names"};
  if (!database.empty()) args.push_back(database);
  const std::string out = dir_.File("client.out");
  const std::string err = dir_.File("client.err");
  Result result;
  const pid_t client = Spawn(args, scriptPath, out, err);
  result.Status = client < 0 ? -1 : WaitFor(client);
  result.Output = ReadText(out);
  result.Errors = ReadText(err);
  return result;
}

MariaDbServer::Result MariaDbServer::Run(const std::string& statements, const std::string& database,
                                         const std::string& characterSet) const {
  const std::string path = dir_.File("statements.sql");
  std::ofstream(path, std::ios::binary) << statements;
  return RunScript(path, database, characterSet);
}

}  // namespace mireforge
