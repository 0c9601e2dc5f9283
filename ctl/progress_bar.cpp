#include "ctl/progress_bar.h"

#include <algorithm>
#include <cstdio>

namespace vornik::ctl {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, bool shown, std::string label)
    : out_(out), shown_(shown), label_(std::move(label)) {}

ProgressBar::~ProgressBar() {
  end();
}

void ProgressBar::end() {
  if (shown_ && drawn_ >= 0)
    out_ << '\n' << std::flush;
  drawn_ = -1;
}

void ProgressBar::show(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (!shown_ || percent == drawn_)
    return;
  drawn_ = percent;
  const int filled = percent * kBarWidth / 100;
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", percent);
  out_ << '\r' << label_ << " [" << std::string(size_t(filled), '#')
       << std::string(size_t(kBarWidth - filled), '.') << "] " << number << std::flush;
}

}  // namespace vornik::ctl
