// The program's entry: the application object runs start-up (the whole life of the
// program is the main window's modal loop), then clean-up.
#include "app/panel_app.h"

int main(int argc, char** argv) {
  vornik::PanelApp app(argc, argv);
  app.StartUp();
  return app.CleanUp();
}
