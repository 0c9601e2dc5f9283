// The entry points the installer's uninstall program resolves in libcorvane.so, with the
// argument lists it calls them with. Everything else in the library stays hidden.
#pragma once

#include <cstdint>

namespace corvane {

// Fixed-width stand-ins for the loader's handle, flag and result types.
using ModuleHandle = void*;
using Dword = uint32_t;
using Bool = int32_t;
using Long = int32_t;

}  // namespace corvane

#define CORVANE_EXPORT __attribute__((visibility("default")))

extern "C" {

// Called by the loader with the reason for the call; the hook keeps no per-process state.
// Always 1.
CORVANE_EXPORT corvane::Bool DllMain(corvane::ModuleHandle module, corvane::Dword reason,
                                     void* reserved);

// Called before the uninstall program removes the product's files. Always 0.
CORVANE_EXPORT corvane::Long UninstInitialize(corvane::Dword, corvane::Dword, corvane::Dword);

// Called after the uninstall program removed the product's files: removes the folders it
// leaves behind, each only when empty. Always 0.
CORVANE_EXPORT corvane::Long UninstUnInitialize(corvane::Dword, corvane::Dword, corvane::Dword);

using DllMainFn = decltype(&DllMain);
using UninstEntryFn = decltype(&UninstInitialize);

}  // extern "C"
