#pragma once

#include "render/TBitmap.h"

#include <cstdint>

// An opaque picture of one colour.
TBitmap SolidBitmap(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);
