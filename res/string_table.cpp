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
    {kStrWritingComplete, "Writing complete. Do not turn off until your machine is initialized."},
    {kStrUpdateComplete, "Update Complete! "},
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
