#include <gtest/gtest.h>

#include "platform/Twips.h"

namespace dovrel::test {
namespace {

TEST(TwipsTest, LengthsConvertAndRescaleToTheNearestPixel)
{
    EXPECT_EQ(TwipsToPixels(5475, 96), 365);
    EXPECT_EQ(TwipsToPixels(5475, 144), 548);
    EXPECT_FLOAT_EQ(PixelsToTwips(365, 96), 5475);
    EXPECT_EQ(RescalePixels(365, 96, 144), 548);
    EXPECT_EQ(RescalePixels(548, 144, 96), 365);
    EXPECT_EQ(RescalePixels(-9, 96, 144), -14);
}

}  // namespace
}  // namespace dovrel::test
