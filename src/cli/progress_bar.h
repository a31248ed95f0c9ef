#pragma once
// A one-line progress bar redrawn in place with carriage returns, for long
// work run from a terminal.
#include <iosfwd>
#include <string>

namespace mireforge::cli {

class ProgressBar {
 public:
  // A disabled bar draws nothing, so callers need not ask themselves.
  ProgressBar(std::ostream& stream, std::string label, bool enabled);
  // Ends the line if the work stopped early, so a following message starts on its own.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Redraws only when the whole percentage changes: a terminal is slow to
  // take thousands of redraws.
  void Update(long long done, long long total);
  // Draws 100 % and ends the line.
  void Finish();

 private:
  std::ostream& stream_;
  std::string label_;
  bool enabled_;
  bool lineOpen_ = false;
  int shownPercent_ = -1;
};

}  // namespace mireforge::cli
