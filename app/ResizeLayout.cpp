#include "app/ResizeLayout.h"

#include <cfenv>
#include <cmath>
#include <exception>
#include <limits>

#include "platform/Error.h"

namespace dovrel {

namespace {

// Runs one step of the layout; whatever it raises ends that step only.
template <typename Step>
void Try(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

std::int32_t TwiceChecked(std::int32_t value)
{
    const std::int64_t twice = std::int64_t{value} * 2;
    if (twice > std::numeric_limits<std::int32_t>::max() || twice < std::numeric_limits<std::int32_t>::min())
        throw Error(kErrOverflow, L"Overflow");
    return static_cast<std::int32_t>(twice);
}

}  // namespace

std::int32_t ToInt32Rounded(double value)
{
    if (!std::isfinite(value))
        throw Error(kErrOverflow, L"Overflow");
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded > std::numeric_limits<std::int32_t>::max() || rounded < std::numeric_limits<std::int32_t>::min())
        throw Error(kErrOverflow, L"Overflow");
    return static_cast<std::int32_t>(rounded);
}

void ResizeLayout(Form& form, ControlExtent& list, CommandButton& anchor, CommandButton* const (&others)[4])
{
    std::int32_t margin = 0;
    std::int32_t gap = 0;

    Try([&] { margin = ToInt32Rounded(list.Left()); });
    Try([&] {
        // Both differences are single-precision values, as the positions are.
        const float fromList = anchor.Left() - list.Left();
        const float between = fromList - list.Width();
        gap = ToInt32Rounded(between);
    });
    Try([&] { anchor.SetLeft(form.ScaleWidth() - anchor.Width() - static_cast<float>(margin)); });
    for (CommandButton* button : others)
        Try([&] { button->SetLeft(anchor.Left()); });
    Try([&] {
        const std::int32_t bothMargins = TwiceChecked(margin);
        const double width = static_cast<double>(anchor.Left()) - margin - gap;
        const double height = static_cast<double>(form.ScaleHeight()) - bothMargins;
        list.Move(static_cast<float>(margin), static_cast<float>(margin), static_cast<float>(width),
                  static_cast<float>(height));
    });
}

}  // namespace dovrel
