// vornik-uninstall: the uninstall program's part on this system. Once the package manager
// has removed the product's files, it loads the uninstall hook and calls it as the
// installer's uninstall program does, so the folders left behind go.
// Usage: vornik-uninstall [HOOK]   (default: libcorvane.so beside this program)
#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "uninstall/corvane.h"

namespace {

// The loader's reasons for calling DllMain.
constexpr corvane::Dword kProcessDetach = 0;
constexpr corvane::Dword kProcessAttach = 1;

std::string HookBesideThisProgram() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : (program.parent_path() / "libcorvane.so").string();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: vornik-uninstall [HOOK]\n");
    return 2;
  }
  const std::string hook = argc == 2 ? argv[1] : HookBesideThisProgram();
  void* library = dlopen(hook.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "vornik-uninstall: %s\n", dlerror());
    return 1;
  }
  auto dllMain = reinterpret_cast<DllMainFn>(dlsym(library, "DllMain"));
  auto initialize = reinterpret_cast<UninstEntryFn>(dlsym(library, "UninstInitialize"));
  auto unInitialize = reinterpret_cast<UninstEntryFn>(dlsym(library, "UninstUnInitialize"));
  if (dllMain == nullptr || initialize == nullptr || unInitialize == nullptr) {
    std::fprintf(stderr, "vornik-uninstall: %s lacks the uninstall entry points\n", hook.c_str());
    dlclose(library);
    return 1;
  }
  dllMain(library, kProcessAttach, nullptr);
  initialize(0, 0, 0);
  unInitialize(0, 0, 0);
  dllMain(library, kProcessDetach, nullptr);
  dlclose(library);
  return 0;
}
