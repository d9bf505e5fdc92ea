#include "platform/Twips.h"

#include <cmath>
#include <cstdint>

namespace dovrel {

int TwipsToPixels(float twips, int dpi)
{
    return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / static_cast<float>(kTwipsPerInch)));
}

float PixelsToTwips(int pixels, int dpi)
{
    return static_cast<float>(pixels) * static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi);
}

int RescalePixels(int pixels, int fromDpi, int toDpi)
{
    // In 64 bits: a pixel count times a resolution overflows 32 bits long
    // before either is absurd.
    const std::int64_t scaled = std::int64_t{pixels} * toDpi;
    const std::int64_t half = fromDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / fromDpi : -((-scaled + half) / fromDpi));
}

}  // namespace dovrel
