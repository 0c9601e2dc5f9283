#include "res/templates.h"

namespace vornik::res {
namespace {

constexpr const DialogTemplate* kAll[] = {&kTemplate101, &kTemplate102, &kTemplate104,
                                          &kTemplate106, &kTemplate110, &kTemplate112,
                                          &kTemplate115, &kTemplate123, &kTemplate143};

}  // namespace

std::span<const DialogTemplate* const> AllTemplates() {
  return kAll;
}

const DialogTemplate* FindTemplate(int id) {
  for (const DialogTemplate* dialog : kAll) {
    if (dialog->id == id) {
      return dialog;
    }
  }
  return nullptr;
}

}  // namespace vornik::res
