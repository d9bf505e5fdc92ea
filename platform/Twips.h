#pragma once

// Twips (1/1440 inch), the unit of the window's geometry, and pixels at the
// screen's resolution. Plain arithmetic, without the window system, so that
// it is tested on the host.
namespace dovrel {

constexpr int kTwipsPerInch = 1440;
// The resolution a screen without its own setting has.
constexpr int kDefaultDpi = 96;

// A length in twips as whole pixels at `dpi`, to the nearest pixel.
int TwipsToPixels(float twips, int dpi);
float PixelsToTwips(int pixels, int dpi);

// A length in pixels at one resolution carried to another, keeping its size
// in inches; to the nearest pixel.
int RescalePixels(int pixels, int fromDpi, int toDpi);

}  // namespace dovrel
