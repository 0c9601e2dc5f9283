// vornikctl: see ctl/vornikctl.h.
#include <unistd.h>

#include <iostream>

#include "ctl/vornikctl.h"

int main(int argc, char** argv) {
  vornik::ctl::CtlIo io{std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1};
  return vornik::ctl::RunVornikctl(std::vector<std::string>(argv + 1, argv + argc), io);
}
