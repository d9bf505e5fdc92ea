#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/PlacementRecord.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;

// Values saved by earlier versions must keep loading: the layout is fixed
// byte for byte, whatever the host's byte order and struct packing.
TEST(PlacementRecordTest, EncodesTheStoredLayoutByteForByte)
{
    const PlacementBytes bytes = EncodePlacement({-2, 0x1234, 0x7FFF, 0x10000, 3});
    EXPECT_THAT(bytes, ElementsAre('D', 'V', 'P', 'L', 1, 0, 0, 0,  //
                                   0xFE, 0xFF, 0xFF, 0xFF,          // left -2
                                   0x34, 0x12, 0, 0,                // top
                                   0xFF, 0x7F, 0, 0,                // right
                                   0, 0, 1, 0,                      // bottom
                                   3, 0, 0, 0));                    // maximised

    const auto decoded = DecodePlacement(EncodePlacement({-2, 5, 0x7FFF, 6, kShowNormal}).data(), kPlacementBytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->left, -2);
    EXPECT_EQ(decoded->top, 5);
    EXPECT_EQ(decoded->right, 0x7FFF);
    EXPECT_EQ(decoded->bottom, 6);
}

TEST(PlacementRecordTest, EveryCoordinateUpToTheLimitIsAcceptedAndNoneBeyond)
{
    auto accepted = [](const PlacementRecord& record) {
        return DecodePlacement(EncodePlacement(record).data(), kPlacementBytes).has_value();
    };
    EXPECT_TRUE(accepted({-32767, -32767, 32767, 32767, kShowNormal}));
    EXPECT_TRUE(accepted({10, 20, 11, 21, kShowNormal})) << "one pixel";
    EXPECT_FALSE(accepted({-32768, 0, 100, 100, kShowNormal}));
    EXPECT_FALSE(accepted({0, -32768, 100, 100, kShowNormal}));
    EXPECT_FALSE(accepted({0, 0, 32768, 100, kShowNormal}));
    EXPECT_FALSE(accepted({0, 0, 100, 32768, kShowNormal}));
    EXPECT_FALSE(accepted({-70000, 0, 100, 100, kShowNormal}));
    EXPECT_FALSE(accepted({100, 0, 100, 100, kShowNormal})) << "no width";
    EXPECT_FALSE(accepted({0, 100, 100, 99, kShowNormal})) << "negative height";
    EXPECT_FALSE(DecodePlacement(nullptr, 0));
}

}  // namespace
}  // namespace dovrel::test
