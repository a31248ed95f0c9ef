#pragma once
// A private MariaDB server for one test: its own data folder and socket in a
// temporary folder, no network, stopped and removed afterwards.
#include <string>
#include <sys/types.h>

#include "support/temp_dir.h"

namespace mireforge {

class MariaDbServer {
 public:
  // Starts the server and waits until it answers. When it cannot start (no
  // server installed, no permission), Started() is false and Problem() says why.
  MariaDbServer();
  ~MariaDbServer();
  MariaDbServer(const MariaDbServer&) = delete;
  MariaDbServer& operator=(const MariaDbServer&) = delete;

  bool Started() const { return started_; }
  const std::string& Problem() const { return problem_; }

  struct Result {
    int Status = -1;  // the client's exit status
    std::string Output;
    std::string Errors;
  };
  // Runs the command-line client as root on the given database (may be empty)
  // with the file's statements on its standard input, in the client character
  // set given (single-byte latin1 text unless said), batch output without
  // column names.
  Result RunScript(const std::string& scriptPath, const std::string& database,
                   const std::string& characterSet = "latin1") const;
  // The same with the statements given as text.
  Result Run(const std::string& statements, const std::string& database,
             const std::string& characterSet = "latin1") const;

 private:
  bool Start();
  void Stop();

  TempDir dir_;
  std::string socket_;
  pid_t pid_ = -1;
  bool started_ = false;
  std::string problem_;
};

}  // namespace mireforge
