// The program's entry: the application object runs start-up (the whole life of the
// program is the main window's modal loop), then clean-up, whose status is the program's.
#include <cstdio>
#include <cstring>

#include "app/panel_app.h"

namespace {

constexpr const char* kUsage =
    "Usage: vornik [--help | --version]\n"
    "Remote control panel for the desktop fax, printer, copier and scanner device.\n"
    "A second start brings the running panel to the front.\n"
    "\n"
    "Exit status: 0 the panel ran (or raised the running copy), 2 the port is busy,\n"
    "3 the device did not answer and start-up was aborted.\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before the window system is touched: no display and no port are needed.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vornik %s\n", VORNIK_VERSION);
      return 0;
    }
  }
  vornik::PanelApp app(argc, argv);
  app.StartUp();
  return app.CleanUp();
}
