#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace dovrel {

// A window's placement as the placement store keeps it: the normal
// rectangle in screen pixels and the show state the window had when it was
// saved (the platform's show command: 1 normal, 2 minimised, 3 maximised).
struct PlacementRecord {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::uint32_t showCmd = 0;
};

constexpr std::uint32_t kShowNormal = 1;

// The stored form, little-endian: the tag "DVPL", the format version 1,
// left, top, right, bottom (signed) and the show state, four bytes each.
constexpr std::size_t kPlacementBytes = 28;
using PlacementBytes = std::array<std::uint8_t, kPlacementBytes>;

PlacementBytes EncodePlacement(const PlacementRecord& record);

// The record the bytes hold when it can be applied as it is: exactly the
// stored size, the tag and version, saved in the normal state, every
// coordinate within +-32767 and a positive width and height. Whether the
// rectangle is on a monitor attached now is for the caller to check.
std::optional<PlacementRecord> DecodePlacement(const std::uint8_t* data, std::size_t size);

}  // namespace dovrel
