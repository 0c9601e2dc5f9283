// The question start-up asks when several USB printer ports could be the device's: a list
// of the ports, each with its path and the maker and model its device ID gives.
#pragma once

#include <QDialog>

#include <optional>
#include <vector>

#include "app/usb_port_choice.h"

class QListWidget;

namespace vornik {

class CPortChooser : public QDialog {
  Q_OBJECT

 public:
  explicit CPortChooser(const std::vector<PortCandidate>& ports, QWidget* parent = nullptr);

  // The port chosen, or none when the dialog was cancelled.
  std::optional<size_t> chosenPort() const;

 private:
  QListWidget* list_;
};

// Shows the dialog modally (no owner) and returns the port chosen.
std::optional<size_t> AskUsbPortInWindow(const std::vector<PortCandidate>& ports);

}  // namespace vornik
