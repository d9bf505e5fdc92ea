#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace dovrel {

// A window's placement as the placement store keeps it: the normal
// rectangle in screen pixels (the one the window has when neither minimised
// nor maximised) and the show state it had when it was saved (the platform's
// show command: 1 normal, 2 minimised, 3 maximised).
struct PlacementRecord {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::uint32_t showCmd = 0;
    // The resolution the placement was saved at, in dots per inch, and the
    // size of the client area of the normal rectangle in pixels then. 0 in a
    // placement of the first format, which did not record them.
    std::int32_t dpi = 0;
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
};

constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kShowMinimized = 2;
constexpr std::uint32_t kShowMaximized = 3;
constexpr std::int32_t kMaxPlacementDpi = 2400;

// The stored forms, little-endian 32-bit words: the tag "DVPL", the format
// version, left, top, right, bottom (signed) and the show state; version 2
// adds the resolution and the client area's width and height.
constexpr std::size_t kPlacementBytesV1 = 28;
constexpr std::size_t kPlacementBytes = 40;

// Version 2, or version 1 when the record has no resolution.
std::vector<std::uint8_t> EncodePlacement(const PlacementRecord& record);

// The record the bytes hold when it can be applied: exactly the size of its
// version, the tag, a show state of 1, 2 or 3, every coordinate within
// +-32767, a positive width and height and, in version 2, a resolution of
// 1 to 2400 dots per inch and a client area of positive size no larger than
// the rectangle. Whether the rectangle is on a monitor attached now is for
// the caller to check.
std::optional<PlacementRecord> DecodePlacement(const std::uint8_t* data, std::size_t size);

// A rectangle on the screen in pixels.
struct PixelRect {
    int left, top, right, bottom;
};

// The normal rectangle a stored placement comes back at, at `dpi`, where
// the window's frame adds frameWidth and frameHeight to its client area:
// where it was, with the client area keeping its size in inches. Saved at
// this resolution, or in the format without one, the rectangle is as stored.
PixelRect RestoredRectangle(const PlacementRecord& stored, int dpi, int frameWidth, int frameHeight);

// A restored rectangle brought onto the work area it lands on: no wider or
// taller than the work area, then moved by as little as takes to lie inside
// it. A rectangle that lies inside already comes back as it is.
PixelRect FittedIntoWorkArea(const PixelRect& rect, const PixelRect& work);

}  // namespace dovrel
