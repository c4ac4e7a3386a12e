// What the fuzz targets share: a headless System with a plain font, and a check that stops
// the run on a broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/system.h"

namespace qvar::fuzz {

// Every target has this shape; the build wraps each into its own libFuzzer program, and the
// tests replay the committed inputs through all of them.
using Target = int (*)(const uint8_t* data, size_t size);

// One program-wide System on the headless backend, its display open and a font of solid
// glyphs loaded, made on first use. Its frame is cleared for each call.
System& fuzz_system();

inline std::vector<uint8_t> bytes_of(const uint8_t* data, size_t size) { return {data, data + size}; }

// Aborts, so that the fuzzer reports the input, when `promise` does not hold.
void require(bool promise, const char* what);

}  // namespace qvar::fuzz
