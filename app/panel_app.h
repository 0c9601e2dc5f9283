// `PanelApp`: the application object. Its start-up runs the whole program (the main
// window's modal loop); clean-up gives the port back and frees the phonebook.
#pragma once

#include <QApplication>

#include "app/start_up.h"

namespace vornik {

class PanelApp : public QApplication, public StartUpWindows {
  Q_OBJECT

 public:
  PanelApp(int& argc, char** argv);

  // Runs start-up; always false: the main window's modal loop was the program.
  bool StartUp();
  // Releases the port and frees the phonebook buffers; returns the exit code.
  int CleanUp();

  // The windows start-up asks for.
  bool raiseRunningCopy() override;
  void showPortBusy() override;
  Choice askNotResponding() override;
  void beginWaitCursor() override;
  void endWaitCursor() override;
  void chooseLanguageFile() override;
  void runMainWindow() override;
};

}  // namespace vornik
