#include "app/ResizeLayout.h"

#include <algorithm>
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

LayoutSpacing SpacingOf(const FormDefinition& design, const char* listName)
{
    const ControlDefinition* list = nullptr;
    const ControlDefinition* anchor = nullptr;
    for (const ControlDefinition& control : design.controls) {
        if (control.name == listName)
            list = &control;
        if (!anchor && control.kind == ControlKind::CommandButton)
            anchor = &control;
    }
    if (!list || !anchor)
        throw Error(kErrInvalidPropertyValue, L"The design has no such control.");
    return {ToInt32Rounded(list->left), ToInt32Rounded(anchor->left - list->left - list->width)};
}

std::vector<CommandButton*> ButtonColumn(const FormDefinition& design, const FormControls& controls)
{
    std::vector<CommandButton*> column;
    for (const ControlDefinition& control : design.controls)
        if (control.kind == ControlKind::CommandButton)
            column.push_back(&controls.Button(control.name));
    return column;
}

void ResizeLayout(Form& form, ControlExtent& list, const std::vector<CommandButton*>& column, LayoutSpacing spacing)
{
    if (column.empty())
        return;
    CommandButton& anchor = *column.front();
    const std::int32_t margin = spacing.margin;
    Try([&] { anchor.SetLeft(form.ScaleWidth() - anchor.Width() - static_cast<float>(margin)); });
    for (std::size_t i = 1; i < column.size(); ++i)
        Try([&] { column[i]->SetLeft(anchor.Left()); });
    Try([&] {
        const std::int32_t bothMargins = TwiceChecked(margin);
        const double width = static_cast<double>(anchor.Left()) - margin - spacing.gap;
        const double height = static_cast<double>(form.ScaleHeight()) - bothMargins;
        list.Move(static_cast<float>(margin), static_cast<float>(margin), static_cast<float>(std::max(width, 0.0)),
                  static_cast<float>(std::max(height, 0.0)));
    });
}

}  // namespace dovrel
