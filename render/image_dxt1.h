#pragma once
// DXT1 block decompression, for tools and tests that need to look at a cube map's pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes of one DXT1 level of width x height: ((h + 3) / 4) * ((w + 3) / 4) * 8.
size_t Dxt1LevelSize(uint32_t width, uint32_t height);

// RGBA8 pixels (top row first) of one DXT1 level; blocks must hold Dxt1LevelSize bytes.
// Transparent texels of the three-colour mode come out black with alpha 0.
std::vector<uint8_t> DecompressDxt1(const uint8_t* blocks, uint32_t width, uint32_t height);
