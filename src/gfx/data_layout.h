// Where each picture lives in the read-only data files, and how big its record is.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvar {

inline constexpr const char* FONT_FILE = "lets.dat";
inline constexpr const char* DIGITS_FILE = "nums.dat";
inline constexpr const char* SPRITES_FILE = "qvar.dat";
inline constexpr const char* BONI_FILE = "boni.dat";
inline constexpr const char* CREDITS_FILE = "c2.dat";

inline constexpr size_t DIGIT_RECORD = 152;  // 10 x 15
inline constexpr size_t DIGITS_FILE_SIZE = 10 * DIGIT_RECORD;
inline constexpr size_t ICON_RECORD = 102;  // 10 x 10
inline constexpr size_t BONI_FILE_SIZE = 13 * ICON_RECORD;

struct SpriteRecord {
    size_t offset;
    size_t size;
};

// qvar.dat, 1750 bytes of records back to back.
inline constexpr SpriteRecord SHIP_RECORD = {0, 258};          // 16 x 16
inline constexpr SpriteRecord SAUCER_RECORD = {258, 107};      // 15 x 7
inline constexpr SpriteRecord REPELLER_RECORD = {365, 302};    // 20 x 15
inline constexpr SpriteRecord CELL_RECORDS[2] = {{667, 146}, {813, 146}};  // 12 x 12
inline constexpr SpriteRecord SPINNER_RECORD = {959, 102};     // 10 x 10
inline constexpr SpriteRecord SPARE_RECORD_A = {1061, 302};    // nothing draws it
inline constexpr SpriteRecord SPARE_RECORD_B = {1363, 37};     // nothing draws it
inline constexpr SpriteRecord POINTER_RECORD = {1400, 146};    // 12 x 12
inline constexpr SpriteRecord TALLY_TENS_RECORD = {1546, 102};      // 10 x 10
inline constexpr SpriteRecord TALLY_HUNDREDS_RECORD = {1648, 102};  // 10 x 10
inline constexpr size_t SPRITES_FILE_SIZE = 1750;

}  // namespace qvar
