#pragma once

#include <array>
#include <cstdint>

// A video frame shrunk to a thumbnail: enough to tell one shot from the next, small
// enough that comparing two costs next to nothing beside decoding them. Eight bits per
// sample whatever the source's depth; chroma at half the luma's width and height.
struct SmallFrame
{
    static constexpr int width = 64;
    static constexpr int height = 36;
    static constexpr int chromaWidth = width / 2;
    static constexpr int chromaHeight = height / 2;

    double time = 0; // seconds on the player's clock
    std::array<uint8_t, width * height> luma{};
    std::array<uint8_t, chromaWidth * chromaHeight> u{};
    std::array<uint8_t, chromaWidth * chromaHeight> v{};
};
