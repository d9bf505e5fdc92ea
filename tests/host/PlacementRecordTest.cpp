#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/PlacementRecord.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;

PlacementRecord Record(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                       std::uint32_t showCmd = kShowNormal, std::int32_t dpi = 0, std::int32_t clientWidth = 0,
                       std::int32_t clientHeight = 0)
{
    return PlacementRecord{left, top, right, bottom, showCmd, dpi, clientWidth, clientHeight};
}

bool Accepted(const PlacementRecord& record)
{
    const std::vector<std::uint8_t> bytes = EncodePlacement(record);
    return DecodePlacement(bytes.data(), bytes.size()).has_value();
}

// Values saved by earlier versions must keep loading: the layout is fixed
// byte for byte, whatever the host's byte order and struct packing.
TEST(PlacementRecordTest, BothFormatsAreLaidOutByteForByte)
{
    EXPECT_THAT(EncodePlacement(Record(-2, 0x1234, 0x7FFF, 0x10000, 3)),
                ElementsAre('D', 'V', 'P', 'L', 1, 0, 0, 0,  //
                            0xFE, 0xFF, 0xFF, 0xFF,          // left -2
                            0x34, 0x12, 0, 0,                // top
                            0xFF, 0x7F, 0, 0,                // right
                            0, 0, 1, 0,                      // bottom
                            3, 0, 0, 0));                    // maximised
    const std::vector<std::uint8_t> second = EncodePlacement(Record(10, 20, 400, 220, 1, 144, 372, 161));
    ASSERT_EQ(second.size(), kPlacementBytes);
    EXPECT_THAT(std::vector<std::uint8_t>(second.begin() + 4, second.begin() + 8), ElementsAre(2, 0, 0, 0));
    EXPECT_THAT(std::vector<std::uint8_t>(second.begin() + 28, second.end()),
                ElementsAre(144, 0, 0, 0, 0x74, 1, 0, 0, 161, 0, 0, 0));

    const auto decoded = DecodePlacement(second.data(), second.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->left, 10);
    EXPECT_EQ(decoded->bottom, 220);
    EXPECT_EQ(decoded->dpi, 144);
    EXPECT_EQ(decoded->clientWidth, 372);
    EXPECT_EQ(decoded->clientHeight, 161);
}

TEST(PlacementRecordTest, OnlyAPlacementTheWindowCanTakeIsAccepted)
{
    EXPECT_TRUE(Accepted(Record(-32767, -32767, 32767, 32767)));
    EXPECT_TRUE(Accepted(Record(10, 20, 11, 21))) << "one pixel";
    EXPECT_FALSE(Accepted(Record(-32768, 0, 100, 100)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 32768)));
    EXPECT_FALSE(Accepted(Record(100, 0, 100, 100))) << "no width";
    EXPECT_FALSE(Accepted(Record(0, 100, 100, 99))) << "negative height";

    // Closed minimised or maximised, it comes back; no other state.
    EXPECT_TRUE(Accepted(Record(0, 0, 100, 100, kShowMinimized)));
    EXPECT_TRUE(Accepted(Record(0, 0, 100, 100, kShowMaximized)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 0)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 4)));

    EXPECT_TRUE(Accepted(Record(0, 0, 100, 100, 1, 2400, 100, 100)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 1, 2401, 90, 80)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 1, -96, 90, 80)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 1, 96, 0, 80)));
    EXPECT_FALSE(Accepted(Record(0, 0, 100, 100, 1, 96, 101, 80))) << "client wider than the window";

    std::vector<std::uint8_t> bytes = EncodePlacement(Record(0, 0, 100, 100, 1, 96, 90, 80));
    bytes.pop_back();
    EXPECT_FALSE(DecodePlacement(bytes.data(), bytes.size()));
    bytes = EncodePlacement(Record(0, 0, 100, 100));
    bytes[4] = 2;  // a second version's tag on the first format's size
    EXPECT_FALSE(DecodePlacement(bytes.data(), bytes.size()));
    EXPECT_FALSE(DecodePlacement(nullptr, 0));
}

TEST(PlacementRecordTest, AtAnotherResolutionTheClientAreaKeepsItsSizeInInches)
{
    // 365 x 157 pixels of client area at 96 dpi, saved with a 16 x 39 frame.
    const PlacementRecord saved = Record(100, 50, 481, 246, 1, 96, 365, 157);
    const PixelRect at144 = RestoredRectangle(saved, 144, 20, 47);
    EXPECT_EQ(at144.left, 100);
    EXPECT_EQ(at144.top, 50);
    EXPECT_EQ(at144.right - at144.left, 548 + 20);
    EXPECT_EQ(at144.bottom - at144.top, 236 + 47);

    const PixelRect same = RestoredRectangle(saved, 96, 20, 47);
    EXPECT_EQ(same.right, 481) << "saved at this resolution: as stored, whatever the frame";
    EXPECT_EQ(RestoredRectangle(Record(100, 50, 481, 246), 144, 20, 47).right, 481)
        << "the first format records no resolution";
}

TEST(PlacementRecordTest, ARestoredRectangleIsReducedToTheWorkAreaThenMovedInside)
{
    const PixelRect laptop = {0, 0, 1024, 738};
    const auto expect = [](const PixelRect& r, int left, int top, int right, int bottom) {
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}), std::vector<int>({left, top, right, bottom}));
    };
    // 900 x 600 at 96 dpi opened at 144: 1038 x 782 from where it was.
    expect(FittedIntoWorkArea({100, 80, 1138, 862}, laptop), 0, 0, 1024, 738);
    expect(FittedIntoWorkArea({300, 200, 900, 700}, laptop), 300, 200, 900, 700);
    expect(FittedIntoWorkArea({700, 600, 1300, 900}, laptop), 424, 438, 1024, 738);
    expect(FittedIntoWorkArea({-50, 10, 1500, 300}, {-1280, 0, 0, 1024}), -1280, 10, 0, 300);
}

}  // namespace
}  // namespace dovrel::test
