#include "platform/win32/controls/Win32ListView.h"

#include <commctrl.h>

#include "platform/Error.h"

// Keeping the control in step with the rows: their count, their order and,
// when they move, the selection that goes with them.
namespace dovrel::win32 {

void Win32ListView::Synchronize()
{
    if (!pending_ || synchronizing_ || !Handle())
        return;
    // Not pending any more even if this fails: the next change tries again,
    // rather than every message the control gets.
    pending_ = false;
    synchronizing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{synchronizing_};

    const bool rowsMove = rows_.NeedsArranging();
    const RowOrder::Selection before = rowsMove ? ShownSelection() : RowOrder::Selection{};
    const RowOrder::Selection after = rows_.Arrange(before, static_cast<size_t>(controlCount_));
    // The count first: the selection may go to rows the control does not
    // have yet.
    if (static_cast<size_t>(controlCount_) != rows_.Count()) {
        View().SetItemCount(static_cast<int>(rows_.Count()));
        controlCount_ = static_cast<int>(rows_.Count());
    }
    if (rowsMove && (!before.selected.empty() || before.focused))
        ApplySelection(after);
    View().Invalidate();
}

RowOrder::Selection Win32ListView::ShownSelection() const
{
    RowOrder::Selection selection;
    int position = -1;
    while ((position = View().NextItem(position, LVNI_SELECTED)) >= 0 && position < controlCount_)
        selection.selected.push_back(static_cast<size_t>(position));
    const int focused = View().NextItem(-1, LVNI_FOCUSED);
    if (focused >= 0 && focused < controlCount_)
        selection.focused = static_cast<size_t>(focused);
    return selection;
}

void Win32ListView::ApplySelection(const RowOrder::Selection& selection)
{
    View().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t position : selection.selected)
        if (!View().SetItemState(static_cast<int>(position), LVIS_SELECTED, LVIS_SELECTED))
            throw Error(kErrSystem, L"The list refused to change a row's selection.");
    if (selection.focused)
        View().SetItemState(static_cast<int>(*selection.focused), LVIS_FOCUSED, LVIS_FOCUSED);
}

bool Win32ListView::SelectedAt(int position) const
{
    return View().IsSelected(position);
}

void Win32ListView::SetSelectedAt(int position, bool selected)
{
    UINT mask = LVIS_SELECTED;
    UINT state = 0;
    if (selected && !MultiSelect()) {
        // One selected row at most; it also takes the focus, so the arrow
        // keys go on from there.
        View().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        mask |= LVIS_FOCUSED;
        state = LVIS_SELECTED | LVIS_FOCUSED;
    } else if (selected) {
        state = LVIS_SELECTED;
    }
    if (!View().SetItemState(position, state, mask))
        throw Error(kErrSystem, L"The list refused to change a row's selection.");
}

}  // namespace dovrel::win32
