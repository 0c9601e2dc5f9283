// The files the File menu loads and saves, each with a full phonebook or the whole setup.
#pragma once

#include "bench/bench_device.h"

namespace vornik::bench {

// Fills every entry of the phonebook store to the width of its fields.
void FillPhonebook();

// Needs the phonebook store allocated; the files go to the device's private folder.
void AddFileRows(const BenchDevice& device);

}  // namespace vornik::bench
