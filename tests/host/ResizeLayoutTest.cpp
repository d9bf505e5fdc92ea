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

TEST_F(ResizeLayoutTest, AfterTinyRefusedAndMinimisedSizesTheNextRunPutsEverythingWhereTheDesignDoes)
{
    Resize(1400, 2355);  // below 1335 + 120: the buttons go partly out of sight
    EXPECT_THAT(ButtonLefts(), testing::Each(-55.0f));
    ExpectList(120, 120, 0, 2115);  // shrunk to nothing, never over the buttons
    Resize(6000, 200);
    ExpectList(120, 120, 4545 - 120 - 105, 0);

    h.faults.Arm(6);  // the list's move, after the five buttons'
    Resize(9000, 5000);
    EXPECT_EQ(h.faults.Failed(), "lvPorts.Move");
    h.faults.Disarm();

    // Minimised, the client area is empty and nothing moves.
    h.form.minimized = true;
    Resize(0, 0);
    EXPECT_THAT(ButtonLefts(), testing::Each(9000.0f - 1335 - 120));
    h.form.minimized = false;

    Resize(5475, 2355);
    EXPECT_THAT(ButtonLefts(), testing::Each(4020.0f));
    ExpectList(120, 120, 3795, 2115);
}

TEST_F(ResizeLayoutTest, AFailedStepIsSkippedAndTheRestRuns)
{
    h.faults.failOn = "cmdCancel.Left";
    Resize(7500, 4000);
    EXPECT_FLOAT_EQ(h.cmdCancel.left, 4020);
    EXPECT_FLOAT_EQ(h.cmdHelp.left, 6045);
    ExpectList(120, 120, 5820, 3760);
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

}  // namespace
}  // namespace dovrel::test
