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

// A picture's place in its file and its shape: a width byte, a height byte, then the pixels.
struct SpriteRecord {
    size_t offset;
    uint8_t width;
    uint8_t height;
    size_t size;  // 2 + width * height

    constexpr SpriteRecord(size_t at, uint8_t w, uint8_t h) : offset(at), width(w), height(h), size(2 + size_t{w} * h) {}
};

inline constexpr SpriteRecord DIGIT_SHAPE = {0, 10, 15};
inline constexpr size_t DIGIT_RECORD = DIGIT_SHAPE.size;  // 152
inline constexpr size_t DIGITS_FILE_SIZE = 10 * DIGIT_RECORD;
inline constexpr SpriteRecord ICON_SHAPE = {0, 10, 10};
inline constexpr size_t ICON_RECORD = ICON_SHAPE.size;  // 102
inline constexpr size_t BONI_FILE_SIZE = 13 * ICON_RECORD;

// qvar.dat, 1750 bytes of records back to back.
inline constexpr SpriteRecord SHIP_RECORD = {0, 16, 16};
inline constexpr SpriteRecord SAUCER_RECORD = {258, 15, 7};
inline constexpr SpriteRecord REPELLER_RECORD = {365, 20, 15};
inline constexpr SpriteRecord CELL_RECORDS[2] = {{667, 12, 12}, {813, 12, 12}};
inline constexpr SpriteRecord SPINNER_RECORD = {959, 10, 10};
inline constexpr SpriteRecord SPARE_RECORD_A = {1061, 20, 15};  // nothing draws it
inline constexpr SpriteRecord SPARE_RECORD_B = {1363, 7, 5};    // nothing draws it
inline constexpr SpriteRecord POINTER_RECORD = {1400, 12, 12};
inline constexpr SpriteRecord TALLY_TENS_RECORD = {1546, 10, 10};
inline constexpr SpriteRecord TALLY_HUNDREDS_RECORD = {1648, 10, 10};
inline constexpr size_t SPRITES_FILE_SIZE = 1750;

}  // namespace qvar
