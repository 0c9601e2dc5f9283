#include "res/string_table.h"

namespace vornik::res {
namespace {

struct StringEntry {
  int id;
  const char* text;
};

constexpr StringEntry kStrings[] = {
    {kStrAppTitle, "Helmdeck"},
    {kStrNotResponding, "Not responding"},
    {kStrSelectFirmware, "Select a firmware file."},
    {kStrPortBusy, "Port is busy"},
};

}  // namespace

const char* StringResource(int id) {
  for (const StringEntry& entry : kStrings) {
    if (entry.id == id) {
      return entry.text;
    }
  }
  return "";
}

}  // namespace vornik::res
