#include "uninstall/corvane.h"

#include "uninstall/clean_install_folders.h"
#include "uninstall/folder_table.h"

extern "C" {

corvane::Bool DllMain(corvane::ModuleHandle, corvane::Dword, void*) {
  return 1;
}

corvane::Long UninstInitialize(corvane::Dword, corvane::Dword, corvane::Dword) {
  return 0;
}

corvane::Long UninstUnInitialize(corvane::Dword, corvane::Dword, corvane::Dword) {
  // No exception may cross into the uninstall program; out of memory leaves the folders.
  try {
    corvane::CleanInstallFolders(corvane::SystemFolderTable());
  } catch (...) {
  }
  return 0;
}

}  // extern "C"
