#pragma once

#include "platform/PlacementRecord.h"

// Twips (1/1440 inch), the unit of the window's geometry, and pixels at the
// screen's resolution. Plain arithmetic, without the window system, so that
// it is tested on the host.
namespace dovrel::win32 {

constexpr int kTwipsPerInch = 1440;
// The resolution a screen without its own setting has.
constexpr int kDefaultDpi = 96;

// A length in twips as whole pixels at `dpi`, to the nearest pixel.
int TwipsToPixels(float twips, int dpi);
float PixelsToTwips(int pixels, int dpi);

// A length in pixels at one resolution carried to another, keeping its size
// in inches; to the nearest pixel.
int RescalePixels(int pixels, int fromDpi, int toDpi);

struct PixelRect {
    int left, top, right, bottom;
};

// The normal rectangle a stored placement comes back at, at `dpi`, where
// the window's frame adds frameWidth and frameHeight to its client area:
// where it was, with the client area keeping its size in inches. Saved at
// this resolution, or in the format without one, the rectangle is as stored.
PixelRect RestoredRectangle(const PlacementRecord& stored, int dpi, int frameWidth, int frameHeight);

}  // namespace dovrel::win32
