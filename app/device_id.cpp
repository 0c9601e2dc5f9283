#include "app/device_id.h"

#include "lang/lang_profile.h"
#include "lang/lang_text.h"
#include "platform/platform.h"
#include "platform/program_folders.h"

namespace vornik {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         SameNameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> CommaSeparated(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    if (const auto name = Trimmed(list.substr(0, comma)); !name.empty())
      names.emplace_back(name);
    list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
  }
  return names;
}

}  // namespace

DeviceIdWords DeviceIdWordsOfProgram() {
  const std::string ini = platform::FindProgramFile(
      platform::FoldersOfProgram(platform::Services().system->programPath()).data,
      kLanguageSelectionFile);
  char maker[128] = {};
  char models[256] = {};
  ReadProfileString(ini, "PORT", "ID_MAKER", maker, sizeof maker);
  ReadProfileString(ini, "PORT", "ID_MODELS", models, sizeof models);
  DeviceIdWords words;
  words.maker = Trimmed(maker).empty() ? kDefaultIdMaker : std::string(Trimmed(maker));
  words.models = CommaSeparated(models);
  if (words.models.empty())
    words.models = CommaSeparated(kDefaultIdModels);
  return words;
}

std::string DeviceIdField(std::string_view id, std::initializer_list<std::string_view> keys) {
  while (!id.empty()) {
    const size_t end = id.find(';');
    const std::string_view field = id.substr(0, end);
    if (const size_t colon = field.find(':'); colon != std::string_view::npos) {
      for (std::string_view key : keys) {
        if (SameNameIgnoringCase(Trimmed(field.substr(0, colon)), key))
          return std::string(Trimmed(field.substr(colon + 1)));
      }
    }
    id.remove_prefix(end == std::string_view::npos ? id.size() : end + 1);
  }
  return {};
}

std::string DeviceIdMaker(std::string_view id) {
  return DeviceIdField(id, {"MFG", "MANUFACTURER"});
}

std::string DeviceIdModel(std::string_view id) {
  return DeviceIdField(id, {"MDL", "MODEL"});
}

std::string DeviceIdMakerAndModel(std::string_view id) {
  const std::string maker = DeviceIdMaker(id);
  const std::string model = DeviceIdModel(id);
  return maker.empty() || model.empty() ? maker + model : maker + " " + model;
}

bool NamesDevice(std::string_view id, const DeviceIdWords& words) {
  if (!SameNameIgnoringCase(DeviceIdMaker(id), words.maker))
    return false;
  const std::string model = DeviceIdModel(id);
  for (const std::string& prefix : words.models) {
    if (StartsWithIgnoringCase(model, prefix))
      return true;
  }
  return false;
}

}  // namespace vornik
