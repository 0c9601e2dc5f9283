// What an IEEE 1284 device ID says, and whether it names this panel's device. The words that
// tell are a setting of vornik.ini (section PORT), so a related model needs no new build.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornik {

struct DeviceIdWords {
  std::string maker;                // the ID's maker field, whole, letter case aside
  std::vector<std::string> models;  // a model field beginning with one of these names it
};

// The maker and models shipped for this device.
inline constexpr char kDefaultIdMaker[] = "Helmdeck";
inline constexpr char kDefaultIdModels[] = "ZRV";

// PORT/ID_MAKER and PORT/ID_MODELS (names separated by commas) of the vornik.ini in the
// program's data folders; a key that is missing or empty keeps its default.
DeviceIdWords DeviceIdWordsOfProgram();

// The value of the first of `keys` the ID holds ("MFG:Helmdeck;MDL:ZRV 4100;" holds MFG and
// MDL); empty when it holds none. Keys match without regard to letter case.
std::string DeviceIdField(std::string_view id, std::initializer_list<std::string_view> keys);
std::string DeviceIdMaker(std::string_view id);  // MFG or MANUFACTURER
std::string DeviceIdModel(std::string_view id);  // MDL or MODEL
// Maker and model, as a person reads them ("Helmdeck ZRV 4100"); empty when the ID gives
// neither.
std::string DeviceIdMakerAndModel(std::string_view id);

// True when the ID's maker is `words.maker` and its model begins with one of `words.models`.
bool NamesDevice(std::string_view id, const DeviceIdWords& words);

}  // namespace vornik
