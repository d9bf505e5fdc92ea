#include "platform/win32/controls/Win32ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/Error.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/controls/ColumnWidths.h"
#include "platform/win32/system/SystemLibrary.h"

namespace dovrel::win32 {

namespace {

[[noreturn]] void ThrowOutOfBounds()
{
    throw Error(kErrInvalidIndex, L"Index out of bounds.");
}

// The program sets only the property values it uses; any other is refused,
// as the control refuses a value it does not know.
[[noreturn]] void ThrowInvalidValue()
{
    throw Error(kErrInvalidPropertyValue, L"Invalid property value.");
}

// Locale-aware and case-insensitive, as a Windows user expects of a list.
int CompareTexts(const std::wstring& a, const std::wstring& b)
{
    const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                      b.c_str(), static_cast<int>(b.size()));
    return result == 0 ? a.compare(b) : result - CSTR_EQUAL;
}

}  // namespace

class Win32ListView::Header final : public ColumnHeader {
public:
    Header(const Win32ListView& owner, std::int32_t index) : owner_(owner), index_(index) {}
    std::int32_t Index() const override { return index_; }
    std::wstring Text() const override
    {
        if (index_ < 1 || static_cast<size_t>(index_) > owner_.columnTexts_.size())
            ThrowOutOfBounds();
        return owner_.columnTexts_[static_cast<size_t>(index_) - 1];
    }

private:
    const Win32ListView& owner_;
    std::int32_t index_;
};

class Win32ListView::Columns final : public ColumnHeaderCollection {
public:
    explicit Columns(Win32ListView& owner) : owner_(owner) {}

    std::unique_ptr<ColumnHeader> Add(const std::wstring& text) override
    {
        const int index = Count();
        // A new column is one inch wide until it is sized to its contents.
        // In an empty list it starts with no width and is fitted to its
        // header at the list's next paint, all columns at once, the last
        // filling the rest: the empty list never shows a scroll bar.
        const bool empty = owner_.rows_.Count() == 0;
        owner_.View().InsertColumn(index, text, empty ? 0 : owner_.dpi_);
        owner_.columnTexts_.push_back(text);
        owner_.columnFits_.push_back(ColumnFit::None);
        owner_.headersToFit_ = empty;
        return std::make_unique<Header>(owner_, index + 1);
    }
    std::int32_t Count() const override { return static_cast<std::int32_t>(owner_.columnTexts_.size()); }
    std::unique_ptr<ColumnHeader> Item(std::int32_t index) override
    {
        if (index < 1 || index > Count())
            ThrowOutOfBounds();
        return std::make_unique<Header>(owner_, index);
    }

private:
    Win32ListView& owner_;
};

class Win32ListView::Item final : public ListItem {
public:
    Item(Win32ListView& owner, RowOrder::RowId id) : owner_(owner), id_(id) {}

    std::wstring Text() const override { return owner_.rows_.Cell(id_, 0); }
    std::wstring SubItem(std::int32_t index) const override
    {
        if (index < 1)
            ThrowOutOfBounds();
        return owner_.rows_.Cell(id_, index);
    }
    void SetSubItem(std::int32_t index, const std::wstring& text) override { owner_.SetSubItem(id_, index, text); }
    bool Selected() const override { return owner_.SelectedAt(owner_.PositionOf(id_)); }
    void SetSelected(bool selected) override { owner_.SetSelectedAt(owner_.PositionOf(id_), selected); }
    bool EnsureVisible() override { return owner_.View().EnsureVisible(owner_.PositionOf(id_)); }

private:
    Win32ListView& owner_;
    RowOrder::RowId id_;
};

class Win32ListView::Items final : public ListItemCollection {
public:
    explicit Items(Win32ListView& owner) : owner_(owner) {}
    std::unique_ptr<ListItem> Add(const std::wstring& text) override { return owner_.AddRow(text); }
    void Clear() override { owner_.ClearRows(); }
    std::int32_t Count() const override { return static_cast<std::int32_t>(owner_.rows_.Count()); }
    std::unique_ptr<ListItem> Item(std::int32_t index) override { return owner_.ItemAt(index); }

private:
    Win32ListView& owner_;
};

Win32ListView::Win32ListView(HWND parent, int controlId, const RECT& bounds, EventSink& events)
    : events_(events), columns_(std::make_unique<Columns>(*this)), items_(std::make_unique<Items>(*this)),
      rows_(CompareTexts)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                        LVS_SINGLESEL;
    Own(ListViewWindow::Create(parent, controlId, bounds, style, WS_EX_CLIENTEDGE));
    if (!CommonControls().SetWindowSubclass(Handle(), ListProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        throw Error(kErrSystem, L"The list view could not be attached to its window.");
}

Win32ListView::~Win32ListView()
{
    if (Handle())
        CommonControls().RemoveWindowSubclass(Handle(), ListProc, 0);
}

void Win32ListView::ParentDestroying()
{
    CommonControls().RemoveWindowSubclass(Handle(), ListProc, 0);
    ChildControl::ParentDestroying();
}

// --- properties ---

void Win32ListView::SetSorted(bool sorted)
{
    rows_.SetSorted(sorted);
    OnOrderChanged();
}

void Win32ListView::SetSortKey(std::int16_t key)
{
    rows_.SetSortKey(key);
    OnOrderChanged();
}

void Win32ListView::SetSortOrder(std::int32_t order)
{
    rows_.SetSortOrder(order);
    OnOrderChanged();
}

bool Win32ListView::MultiSelect() const
{
    return (View().Style() & LVS_SINGLESEL) == 0;
}

void Win32ListView::SetMultiSelect(bool multiSelect)
{
    if (multiSelect)
        View().ChangeStyle(LVS_SINGLESEL, 0);
    else
        View().ChangeStyle(0, LVS_SINGLESEL);
}

void Win32ListView::SetBorderStyle(ListBorderStyle style)
{
    if (style != ListBorderStyle::None)
        ThrowInvalidValue();
    View().ChangeExStyle(WS_EX_CLIENTEDGE, 0);
}

void Win32ListView::SetHideSelection(bool hide)
{
    if (hide)
        View().ChangeStyle(LVS_SHOWSELALWAYS, 0);
    else
        View().ChangeStyle(0, LVS_SHOWSELALWAYS);
}

void Win32ListView::SetLabelEdit(ListLabelEdit mode)
{
    if (mode != ListLabelEdit::Manual)
        ThrowInvalidValue();
    View().ChangeStyle(LVS_EDITLABELS, 0);
}

void Win32ListView::SetView(ListViewView view)
{
    if (view != ListViewView::Report)
        ThrowInvalidValue();
    View().ChangeStyle(LVS_TYPEMASK, LVS_REPORT);
}

WindowHandle Win32ListView::hWnd() const
{
    return ToWindowHandle(Handle());
}

ColumnHeaderCollection& Win32ListView::ColumnHeaders()
{
    return *columns_;
}

ListItemCollection& Win32ListView::ListItems()
{
    return *items_;
}

std::unique_ptr<ListItem> Win32ListView::SelectedItem()
{
    Synchronize();
    const int position = View().NextItem(-1, LVNI_SELECTED);
    if (position < 0 || static_cast<size_t>(position) >= rows_.Count())
        return nullptr;
    return std::make_unique<Item>(*this, rows_.IdAt(static_cast<size_t>(position)));
}

void Win32ListView::AutoSizeColumn(std::int32_t column, bool useHeader)
{
    if (column < 1 || column > columns_->Count())
        return;
    Synchronize();
    const int index = column - 1;
    columnFits_[static_cast<std::size_t>(index)] = useHeader ? ColumnFit::ContentsAndHeader : ColumnFit::Contents;
    const int width = FittingColumnWidth(View(), rows_, columnTexts_, index, useHeader, dpi_);
    // Where the list cannot measure, the control measures itself.
    View().SetColumnWidth(index, width >= 0 ? width : useHeader ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE);
}

void Win32ListView::FitEmptyColumnsToHeaders()
{
    if (!std::exchange(headersToFit_, false) || rows_.Count() != 0)
        return;
    // While it draws, the control works its scroll bars out again at every
    // width; this is about to paint, so once is enough.
    const bool hold = !redrawHeld_;
    if (hold)
        View().SetRedraw(false);
    for (std::int32_t column = 1; column <= columns_->Count(); ++column)
        AutoSizeColumn(column, true);
    if (hold)
        View().SetRedraw(true);
}

void Win32ListView::FollowScale(HFONT font, int dpi)
{
    const int before = std::exchange(dpi_, dpi);
    // The control measures its rows and its header again with the font.
    View().Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (int index = 0; index < static_cast<int>(columnFits_.size()); ++index)
        if (columnFits_[static_cast<std::size_t>(index)] == ColumnFit::None)
            View().SetColumnWidth(index, MulDiv(View().ColumnWidth(index), dpi, before));
}

void Win32ListView::FitColumnsAgain()
{
    for (int index = 0; index < static_cast<int>(columnFits_.size()); ++index)
        if (columnFits_[static_cast<std::size_t>(index)] != ColumnFit::None)
            AutoSizeColumn(index + 1, columnFits_[static_cast<std::size_t>(index)] == ColumnFit::ContentsAndHeader);
}

void Win32ListView::SetExtendedStyle(std::uint32_t mask, std::uint32_t bits)
{
    View().SetExtendedStyle(mask, bits);
}

// --- rows ---

std::unique_ptr<ListItem> Win32ListView::AddRow(const std::wstring& text)
{
    const RowOrder::RowId id = rows_.Add(text);
    OnOrderChanged();
    return std::make_unique<Item>(*this, id);
}

void Win32ListView::ClearRows()
{
    rows_.Clear();
    controlCount_ = 0;
    pending_ = false;
    View().DeleteAllItems();
}

std::unique_ptr<ListItem> Win32ListView::ItemAt(std::int32_t position)
{
    if (position < 1 || static_cast<size_t>(position) > rows_.Count())
        ThrowOutOfBounds();
    Synchronize();
    return std::make_unique<Item>(*this, rows_.IdAt(static_cast<size_t>(position) - 1));
}

int Win32ListView::PositionOf(RowOrder::RowId id)
{
    rows_.Cell(id, 0);  // raises for a row that is gone, before anything else
    Synchronize();
    return static_cast<int>(rows_.PositionOf(id));
}

void Win32ListView::SetSubItem(RowOrder::RowId id, std::int32_t index, const std::wstring& text)
{
    // A sub-item shows under a column of its own; one beyond the columns
    // would never be seen, so it is refused as the control does.
    if (index < 1 || index >= std::max<std::int32_t>(columns_->Count(), 1))
        ThrowOutOfBounds();
    rows_.SetCell(id, index, text);
    if (rows_.NeedsArranging())
        OnOrderChanged();
    else if (!pending_)
        View().Invalidate();
    // While a batch is pending the whole list is repainted once it is
    // brought up to date; asking again per cell costs more than the fill.
}

void Win32ListView::OnColumnClick(std::int32_t column)
{
    if (!onColumnClick)
        return;
    Header clicked(*this, column);
    events_.RunHandler([&] { onColumnClick(clicked); });
}

void Win32ListView::OnOrderChanged()
{
    // The first change of a batch asks for the paint that ends it, so that
    // the control is brought up to date even if nothing else looks at it
    // before then.
    if (!pending_)
        HoldRedraw();
    pending_ = true;
}

// While it draws, the control recomputes and repaints itself at every change
// of its item count and of every column width: under Wine, with a thousand
// rows, each costs 20 ms or more. Drawing goes off at the first change of a
// batch and on again when a message posted then arrives, once the handler
// making the batch has returned to the message loop.
void Win32ListView::HoldRedraw()
{
    if (redrawHeld_ || !Handle())
        return;
    const UINT resume = ResumeRedrawMessage();
    if (resume == 0 || !PostMessageW(Handle(), resume, 0, 0)) {
        // Nothing would turn drawing on again: draw as the changes come.
        View().Invalidate();
        return;
    }
    View().SetRedraw(false);
    redrawHeld_ = true;
}

void Win32ListView::ResumeRedraw()
{
    if (!redrawHeld_ || !Handle())
        return;
    redrawHeld_ = false;
    View().SetRedraw(true);
}

UINT Win32ListView::ResumeRedrawMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Dovrel.Win32ListView.ResumeRedraw");
    return message;
}

}  // namespace dovrel::win32
