#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/ResizeLayout.h"
#include "app/frmMain.h"
#include "platform/Error.h"
#include "tests/host/Fakes.h"

namespace dovrel::test {
namespace {

class ResizeLayoutTest : public ::testing::Test {
protected:
    ResizeLayoutTest() : window(h.Controls(), h.runtime, h.support, h.spooler) {}

    void Resize(float width, float height)
    {
        h.form.scaleWidth = width;
        h.form.scaleHeight = height;
        h.form.onResize();
    }

    std::vector<float> ButtonLefts() const
    {
        return {h.cmdCancel.left, h.cmdSettings.left, h.cmdAdd.left, h.cmdDelete.left, h.cmdHelp.left};
    }

    void ExpectList(float left, float top, float width, float height) const
    {
        EXPECT_FLOAT_EQ(h.lvPortsExtent.left, left);
        EXPECT_FLOAT_EQ(h.lvPortsExtent.top, top);
        EXPECT_FLOAT_EQ(h.lvPortsExtent.width, width);
        EXPECT_FLOAT_EQ(h.lvPortsExtent.height, height);
    }

    Harness h;
    frmMain window;
};

TEST_F(ResizeLayoutTest, TheDesignSizeIsAFixedPointAndLargerSizesFollowTheRightEdge)
{
    Resize(5475, 2355);
    EXPECT_THAT(ButtonLefts(), testing::Each(4020.0f));
    ExpectList(120, 120, 3795, 2115);

    Resize(7500, 4000);
    EXPECT_THAT(ButtonLefts(), testing::Each(6045.0f));
    ExpectList(120, 120, 5820, 3760);
    // The buttons keep their tops and sizes; only their left edges move.
    EXPECT_THAT(h.log, testing::Contains("cmdAdd.Left = 6045.000000"));
}

TEST_F(ResizeLayoutTest, NarrowWindowsPutButtonsLeftOfTheEdgeAndTheListKeepsItsRectangle)
{
    Resize(1400, 2355);  // below 1335 + 120: the buttons go partly out of sight
    EXPECT_THAT(ButtonLefts(), testing::Each(-55.0f));
    ExpectList(120, 120, 3795, 2115);  // a width of -55 - 120 - 105 was refused

    // The next run measures the gap between the moved buttons and the list
    // that stayed, and keeps reproducing it.
    Resize(7500, 4000);
    EXPECT_THAT(ButtonLefts(), testing::Each(6045.0f));
    ExpectList(120, 120, 6045 - 120 - (-55 - 120 - 3795), 3760);
}

TEST_F(ResizeLayoutTest, AHeightBelowTwoMarginsIsRefusedButTheButtonsStillMove)
{
    Resize(6000, 200);
    EXPECT_THAT(ButtonLefts(), testing::Each(4545.0f));
    ExpectList(120, 120, 3795, 2115);
}

TEST_F(ResizeLayoutTest, AFailedStepIsSkippedAndTheRestRuns)
{
    h.cmdCancel.refuseLeft = true;
    Resize(7500, 4000);
    EXPECT_FLOAT_EQ(h.cmdCancel.left, 4020);
    EXPECT_FLOAT_EQ(h.cmdHelp.left, 6045);
    ExpectList(120, 120, 5820, 3760);

    // A failed measurement leaves margin 0 for the rest of the run.
    h.lvPortsExtent.left = 3e10f;
    Resize(7500, 4000);
    EXPECT_FLOAT_EQ(h.cmdAdd.left, 7500 - 1335);
}

TEST(ToInt32RoundedTest, HalvesGoToTheEvenNeighbourAndOverflowRaises)
{
    EXPECT_EQ(ToInt32Rounded(120.5), 120);
    EXPECT_EQ(ToInt32Rounded(121.5), 122);
    EXPECT_EQ(ToInt32Rounded(-0.5), 0);
    EXPECT_EQ(ToInt32Rounded(-1.5), -2);
    EXPECT_EQ(ToInt32Rounded(104.49), 104);
    EXPECT_THROW(ToInt32Rounded(3e9), Error);
    EXPECT_THROW(ToInt32Rounded(std::numeric_limits<double>::quiet_NaN()), Error);
}

TEST_F(ResizeLayoutTest, MarginAndGapAreRoundedHalvesToEven)
{
    h.lvPortsExtent.left = 120.5f;   // margin 120
    h.lvPortsExtent.width = 3794.0f; // gap 4020 - 120.5 - 3794 = 105.5 -> 106
    Resize(7500, 4000);
    EXPECT_FLOAT_EQ(h.cmdAdd.left, 7500 - 1335 - 120);
    ExpectList(120, 120, 6045 - 120 - 106, 4000 - 240);
}

}  // namespace
}  // namespace dovrel::test
