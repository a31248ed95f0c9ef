#include "cli/progress_bar.h"

#include <algorithm>
#include <ostream>

namespace mireforge::cli {

namespace {
constexpr int BarWidth = 40;
}

ProgressBar::ProgressBar(std::ostream& stream, std::string label, bool enabled)
    : stream_(stream), label_(std::move(label)), enabled_(enabled) {}

ProgressBar::~ProgressBar() {
  if (lineOpen_) stream_ << "\n" << std::flush;
}

void ProgressBar::Update(long long done, long long total) {
  if (!enabled_) return;
  const int percent = total <= 0 ? 100 : static_cast<int>(std::clamp(done, 0LL, total) * 100 / total);
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  const int filled = percent * BarWidth / 100;
  stream_ << "\r" << label_ << " [" << std::string(filled, '#') << std::string(BarWidth - filled, '.') << "] "
          << percent << "%" << std::flush;
  lineOpen_ = true;
}

void ProgressBar::Finish() {
  Update(1, 1);
  if (lineOpen_) stream_ << "\n" << std::flush;
  lineOpen_ = false;
}

}  // namespace mireforge::cli
