// The bar a long transfer draws on a terminal: "phonebook [#####.....]  50%". Nothing is
// drawn when the output is not a terminal.
#pragma once

#include <ostream>
#include <string>

namespace vornik::ctl {

class ProgressBar {
 public:
  ProgressBar(std::ostream& out, bool shown, std::string label);
  // Ends the bar's line.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Redraws the bar at `percent` (clamped to 0..100) when it moved.
  void show(int percent);
  // Ends the bar's line, so that a message can follow; a later show starts a new bar.
  void end();

 private:
  std::ostream& out_;
  bool shown_;
  std::string label_;
  int drawn_ = -1;
};

}  // namespace vornik::ctl
