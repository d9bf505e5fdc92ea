#include <gtest/gtest.h>

#include "app/FormWiring.h"
#include "platform/Error.h"
#include "tests/host/Fakes.h"

namespace dovrel {
namespace {

using test::Harness;

struct Owner {
    int clicks = 0;
    int keys = 0;
    void Click() { ++clicks; }
    void Keys(std::int16_t&, std::int16_t&) { ++keys; }
};

FormDefinition SmallDesign()
{
    FormDefinition design;
    design.name = "frmMain";
    design.controls = {{ControlKind::Timer, "tmrInit", L""}, {ControlKind::CommandButton, "cmdAdd", L"Add..."}};
    design.menus = {{"mnuPorts", {{"mnuRefresh", L"&Refresh\tF5"}}}};
    return design;
}

constexpr Shortcut kF5{116, 0};

TEST(FormWiringTest, ATableIsBoundWithItsShortcutsAndRowCommands)
{
    Harness h;
    Owner owner;
    const RowCommands rowCommands = BindWiring<Owner>(owner, SmallDesign(), h.Controls(),
        {{"cmdAdd", Event::Click, &Owner::Click, Needs::SelectedRow},
         {"mnuRefresh", Event::Click, &Owner::Click, Needs::Nothing, kF5},
         {"frmMain", Event::KeyDown, &Owner::Keys}});
    std::int16_t key = 116, shift = 0;
    h.form.onKeyDown(key, shift);
    h.cmdAdd.onClick();
    EXPECT_EQ(owner.clicks, 2);
    EXPECT_EQ(owner.keys, 1);
    ASSERT_EQ(rowCommands.buttons.size(), 1u);
    EXPECT_EQ(rowCommands.buttons[0], &h.cmdAdd);
}

TEST(FormWiringTest, ATableThatDoesNotFitTheDesignIsRefusedWhenTheFormIsMade)
{
    const Wire<Owner> refresh{"mnuRefresh", Event::Click, &Owner::Click, Needs::Nothing, kF5};
    const std::vector<std::vector<Wire<Owner>>> misfits = {
        {refresh, {"cmdNoSuch", Event::Click, &Owner::Click}},
        {refresh, {"cmdAdd", Event::Timer, &Owner::Click}},
        {refresh, {"cmdAdd", Event::Click, &Owner::Keys}},
        {refresh, {"tmrInit", Event::Timer, &Owner::Click, Needs::SelectedRow}},
        {{"mnuRefresh", Event::Click, &Owner::Click}},  // "F5" shown, no key bound
        {{"mnuRefresh", Event::Click, &Owner::Click, Needs::Nothing, Shortcut{117, 0}}},
        {{"mnuRefresh", Event::Click, &Owner::Click, Needs::Nothing, Shortcut{116, 0, "cmdAdd"}}},
    };
    for (std::size_t i = 0; i < misfits.size(); ++i) {
        Harness h;
        Owner owner;
        EXPECT_THROW(BindWiring(owner, SmallDesign(), h.Controls(), misfits[i]), Error) << i;
    }
}

}  // namespace
}  // namespace dovrel
