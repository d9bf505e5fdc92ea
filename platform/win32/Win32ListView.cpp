#include "platform/win32/Win32ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>

#include "platform/Error.h"
#include "platform/win32/EventDispatch.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

namespace {

[[noreturn]] void ThrowItemGone()
{
    throw Error(kErrInvalidIndex, L"The list item is no longer in the list.");
}

[[noreturn]] void ThrowOutOfBounds()
{
    throw Error(kErrInvalidIndex, L"Index out of bounds.");
}

// A new column is one inch wide until it is sized to its contents.
int DefaultColumnWidth(HWND window)
{
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc)
        ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
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
        return owner_.columnTexts_[index_ - 1];
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
        const int index = static_cast<int>(owner_.columnTexts_.size());
        std::wstring buffer = text;
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = DefaultColumnWidth(owner_.window_);
        column.pszText = buffer.data();
        column.iSubItem = index;
        if (owner_.Send(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != index)
            throw Error(kErrSystem, L"The list refused a new column.");
        owner_.columnTexts_.push_back(text);
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
    Item(Win32ListView& owner, std::uint64_t id) : owner_(owner), id_(id) {}

    std::wstring Text() const override { return owner_.RowOf(id_).text; }
    std::wstring SubItem(std::int32_t index) const override
    {
        if (index < 1)
            ThrowOutOfBounds();
        const auto& subItems = owner_.RowOf(id_).subItems;
        return static_cast<size_t>(index) <= subItems.size() ? subItems[index - 1] : std::wstring();
    }
    void SetSubItem(std::int32_t index, const std::wstring& text) override
    {
        // A sub-item shows under a column of its own; one beyond the
        // columns would never be seen, so it is refused as the control does.
        if (index < 1 || index >= std::max<std::int32_t>(owner_.columns_->Count(), 1))
            ThrowOutOfBounds();
        auto& subItems = owner_.RowOf(id_).subItems;
        if (subItems.size() < static_cast<size_t>(index))
            subItems.resize(static_cast<size_t>(index));
        subItems[index - 1] = text;
        owner_.OnSubItemChanged(index);
    }
    bool Selected() const override { return owner_.SelectedAt(owner_.IndexOf(id_)); }
    void SetSelected(bool selected) override { owner_.SetSelectedAt(owner_.IndexOf(id_), selected); }
    bool EnsureVisible() override
    {
        return owner_.Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(owner_.IndexOf(id_)), FALSE) != FALSE;
    }

private:
    Win32ListView& owner_;
    std::uint64_t id_;
};

class Win32ListView::Items final : public ListItemCollection {
public:
    explicit Items(Win32ListView& owner) : owner_(owner) {}
    std::unique_ptr<ListItem> Add(const std::wstring& text) override { return owner_.AddRow(text); }
    void Clear() override { owner_.ClearRows(); }
    std::int32_t Count() const override { return owner_.RowCount(); }
    std::unique_ptr<ListItem> Item(std::int32_t index) override { return owner_.ItemAt(index); }

private:
    Win32ListView& owner_;
};

Win32ListView::Win32ListView(HWND parent, int controlId, const RECT& bounds)
    : parent_(parent), columns_(std::make_unique<Columns>(*this)), items_(std::make_unique<Items>(*this))
{
    // Owner data: the control asks us for every text (LVN_GETDISPINFO).
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                        LVS_SINGLESEL;
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_)
        ThrowLastError(L"CreateWindowEx (list view)");
    const auto id = reinterpret_cast<UINT_PTR>(this);
    const auto self = reinterpret_cast<DWORD_PTR>(this);
    if (!CommonControls().SetWindowSubclass(parent_, ParentProc, id, self) ||
        !CommonControls().SetWindowSubclass(window_, ListProc, id, self)) {
        CommonControls().RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
        DestroyWindow(window_);
        throw Error(kErrSystem, L"The list view could not be attached to its window.");
    }
}

Win32ListView::~Win32ListView()
{
    if (parent_)
        CommonControls().RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
    if (window_) {
        CommonControls().RemoveWindowSubclass(window_, ListProc, reinterpret_cast<UINT_PTR>(this));
        DestroyWindow(window_);
    }
}

// --- properties ---

void Win32ListView::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (sorted_)
        RequestFullSort();
}

void Win32ListView::SetSortKey(std::int16_t key)
{
    sortKey_ = key;
    if (sorted_)
        RequestFullSort();
}

void Win32ListView::SetSortOrder(std::int32_t order)
{
    sortOrder_ = order;
    if (sorted_)
        RequestFullSort();
}

bool Win32ListView::MultiSelect() const
{
    return (GetWindowLongPtrW(window_, GWL_STYLE) & LVS_SINGLESEL) == 0;
}

void Win32ListView::SetMultiSelect(bool multiSelect)
{
    if (multiSelect)
        ChangeStyle(LVS_SINGLESEL, 0);
    else
        ChangeStyle(0, LVS_SINGLESEL);
}

void Win32ListView::SetBorderStyle(ListBorderStyle style)
{
    if (style == ListBorderStyle::None)
        ChangeExStyle(WS_EX_CLIENTEDGE, 0);
    else
        ChangeExStyle(0, WS_EX_CLIENTEDGE);
}

void Win32ListView::SetHideSelection(bool hide)
{
    if (hide)
        ChangeStyle(LVS_SHOWSELALWAYS, 0);
    else
        ChangeStyle(0, LVS_SHOWSELALWAYS);
}

void Win32ListView::SetLabelEdit(ListLabelEdit mode)
{
    if (mode == ListLabelEdit::Automatic)
        ChangeStyle(0, LVS_EDITLABELS);
    else
        ChangeStyle(LVS_EDITLABELS, 0);
}

void Win32ListView::SetView(ListViewView view)
{
    LONG_PTR type = LVS_REPORT;
    switch (view) {
    case ListViewView::Icon: type = LVS_ICON; break;
    case ListViewView::SmallIcon: type = LVS_SMALLICON; break;
    case ListViewView::List: type = LVS_LIST; break;
    case ListViewView::Report: type = LVS_REPORT; break;
    default: throw Error(kErrInvalidIndex, L"Invalid property value.");
    }
    ChangeStyle(LVS_TYPEMASK, type);
}

WindowHandle Win32ListView::hWnd() const
{
    return reinterpret_cast<WindowHandle>(window_);
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
    const auto index = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0 || index >= RowCount())
        return nullptr;
    return ItemAtIndex(index);
}

std::intptr_t Win32ListView::SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam)
{
    return ::SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

// --- rows ---

std::unique_ptr<ListItem> Win32ListView::AddRow(const std::wstring& text)
{
    const auto row = static_cast<std::uint32_t>(rows_.size());
    rows_.push_back(Row{text, {}});
    order_.push_back(row);
    indexStale_ = true;
    if (!sorted_ && orderedPrefix_ + 1 == order_.size())
        orderedPrefix_ = order_.size();
    MarkPending();
    return std::make_unique<Item>(*this, firstId_ + row);
}

void Win32ListView::ClearRows()
{
    firstId_ += rows_.size();
    rows_.clear();
    order_.clear();
    indexOf_.clear();
    indexStale_ = false;
    orderedPrefix_ = 0;
    fullSortNeeded_ = false;
    pending_ = false;
    controlCount_ = 0;
    if (!Send(LVM_DELETEALLITEMS))
        throw Error(kErrSystem, L"The list could not be cleared.");
}

std::unique_ptr<ListItem> Win32ListView::ItemAt(std::int32_t position)
{
    if (position < 1 || position > RowCount())
        ThrowOutOfBounds();
    Synchronize();
    return ItemAtIndex(position - 1);
}

std::unique_ptr<ListItem> Win32ListView::ItemAtIndex(int index)
{
    return std::make_unique<Item>(*this, firstId_ + order_[static_cast<size_t>(index)]);
}

Win32ListView::Row& Win32ListView::RowOf(std::uint64_t id)
{
    if (id < firstId_ || id - firstId_ >= rows_.size())
        ThrowItemGone();
    return rows_[static_cast<size_t>(id - firstId_)];
}

int Win32ListView::IndexOf(std::uint64_t id)
{
    RowOf(id);
    Synchronize();
    if (indexStale_) {
        indexOf_.assign(rows_.size(), 0);
        for (size_t index = 0; index < order_.size(); ++index)
            indexOf_[order_[index]] = static_cast<std::uint32_t>(index);
        indexStale_ = false;
    }
    return static_cast<int>(indexOf_[static_cast<size_t>(id - firstId_)]);
}

const std::wstring& Win32ListView::TextOf(const Row& row, int column) const
{
    if (column == 0)
        return row.text;
    if (column < 0 || static_cast<size_t>(column) > row.subItems.size())
        return empty_;
    return row.subItems[static_cast<size_t>(column) - 1];
}

void Win32ListView::OnSubItemChanged(std::int32_t subItem)
{
    if (sorted_ && subItem == sortKey_)
        RequestFullSort();
    else if (!pending_)
        InvalidateRect(window_, nullptr, FALSE);
    // While a batch is pending the whole list is repainted once it is
    // brought up to date; asking again per cell costs more than the fill.
}

// --- keeping the control in step ---

void Win32ListView::MarkPending()
{
    // The first change of a batch asks for the paint that ends it, so that
    // the control is brought up to date even if nothing else looks at it
    // before then.
    if (!pending_ && window_)
        HoldRedraw();
    pending_ = true;
}

namespace {

// Posted to the list by the first change of a batch; it arrives once the
// handler that makes the batch has returned to the message loop.
UINT ResumeRedrawMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Dovrel.Win32ListView.ResumeRedraw");
    return message;
}

}  // namespace

// While it draws, the control recomputes and repaints itself at every change
// of its item count and of every column width: under Wine, with a thousand
// rows, each costs 20 ms or more. A batch (filling, sorting, sizing the
// columns, selecting) is therefore made with drawing off and drawn once.
void Win32ListView::HoldRedraw()
{
    if (redrawHeld_)
        return;
    const UINT resume = ResumeRedrawMessage();
    if (resume == 0 || !PostMessageW(window_, resume, 0, 0)) {
        // Nothing would turn drawing on again: draw as the changes come.
        InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    Send(WM_SETREDRAW, FALSE);
    redrawHeld_ = true;
}

void Win32ListView::ResumeRedraw()
{
    if (!redrawHeld_ || !window_)
        return;
    redrawHeld_ = false;
    Send(WM_SETREDRAW, TRUE);
    // WM_SETREDRAW leaves the repaint to the caller; the header is a child
    // window of its own.
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32ListView::RequestFullSort()
{
    fullSortNeeded_ = true;
    MarkPending();
}

void Win32ListView::Synchronize()
{
    if (!pending_ || synchronizing_ || !window_)
        return;
    synchronizing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{synchronizing_};

    if (sorted_ && (fullSortNeeded_ || orderedPrefix_ < order_.size()))
        SortDisplayOrder();
    orderedPrefix_ = order_.size();
    fullSortNeeded_ = false;

    if (controlCount_ != RowCount()) {
        if (!Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(RowCount()), LVSICF_NOSCROLL))
            throw Error(kErrSystem, L"The list refused its new item count.");
        controlCount_ = RowCount();
    }
    pending_ = false;
    InvalidateRect(window_, nullptr, FALSE);
}

bool Win32ListView::Before(std::uint32_t a, std::uint32_t b) const
{
    const int order = CompareTexts(TextOf(rows_[a], sortKey_), TextOf(rows_[b], sortKey_));
    return sortOrder_ == 0 ? order < 0 : order > 0;
}

void Win32ListView::SortDisplayOrder()
{
    // The selection belongs to rows, not to positions: note it, reorder,
    // and put it back where the rows went.
    std::vector<std::uint64_t> selected = SelectedIds();
    const int focusedIndex = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    const bool hadFocus = focusedIndex >= 0 && focusedIndex < controlCount_;
    const std::uint32_t focusedRow = hadFocus ? order_[static_cast<size_t>(focusedIndex)] : 0;

    auto before = [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); };
    if (fullSortNeeded_) {
        std::stable_sort(order_.begin(), order_.end(), before);
    } else {
        // Rows added since the last sort are merged in after equal rows.
        const auto middle = order_.begin() + static_cast<std::ptrdiff_t>(orderedPrefix_);
        std::stable_sort(middle, order_.end(), before);
        std::inplace_merge(order_.begin(), middle, order_.end(), before);
    }
    indexStale_ = true;

    if (selected.empty() && !hadFocus)
        return;
    ClearSelection();
    for (std::uint64_t id : selected)
        SetSelectedAt(IndexOf(id), true);
    if (hadFocus) {
        LVITEMW state = {};
        state.stateMask = LVIS_FOCUSED;
        state.state = LVIS_FOCUSED;
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(IndexOf(firstId_ + focusedRow)), reinterpret_cast<LPARAM>(&state));
    }
}

std::vector<std::uint64_t> Win32ListView::SelectedIds() const
{
    std::vector<std::uint64_t> ids;
    int index = -1;
    while ((index = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0) {
        if (index >= controlCount_ || static_cast<size_t>(index) >= order_.size())
            break;
        ids.push_back(firstId_ + order_[static_cast<size_t>(index)]);
    }
    return ids;
}

bool Win32ListView::SelectedAt(int index) const
{
    return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void Win32ListView::ClearSelection()
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

void Win32ListView::SetSelectedAt(int index, bool selected)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    if (selected && !MultiSelect()) {
        // One selected row at most; it also takes the focus, so the arrow
        // keys go on from there.
        ClearSelection();
        state.stateMask |= LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
    } else if (selected) {
        state.state = LVIS_SELECTED;
    }
    if (!Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state)))
        throw Error(kErrSystem, L"The list refused to change a row's selection.");
}

// --- column widths ---

namespace {

// Room around a cell's text and a header's text, as the control draws them.
int CellPadding()
{
    return 4 * GetSystemMetrics(SM_CXEDGE) + 6;
}

int HeaderPadding()
{
    return 6 * GetSystemMetrics(SM_CXEDGE) + 6;
}

class TextMeasure {
public:
    TextMeasure(HWND window, HFONT font) : window_(window), dc_(GetDC(window))
    {
        if (dc_ && font)
            oldFont_ = SelectObject(dc_, font);
    }
    ~TextMeasure()
    {
        if (!dc_)
            return;
        if (oldFont_)
            SelectObject(dc_, oldFont_);
        ReleaseDC(window_, dc_);
    }
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;

    bool Ready() const { return dc_ != nullptr; }
    int Width(const std::wstring& text)
    {
        SIZE size = {};
        if (text.empty() || !GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size))
            return 0;
        return size.cx;
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
};

}  // namespace

// The list measures its own texts: the control would ask for every row's
// text through the window system one message at a time, and under some
// systems it measures a header with another font than it draws it with and
// cuts the header off. With the header taken into account, the last column
// also fills whatever room the others leave.
int Win32ListView::AutoSizeWidth(int column, bool useHeader)
{
    if (column < 0 || static_cast<size_t>(column) >= columnTexts_.size() ||
        (GetWindowLongPtrW(window_, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT)
        return -1;

    TextMeasure cells(window_, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    if (!cells.Ready())
        return -1;
    // Ports repeat their monitor, description and type: measure each text once.
    std::unordered_map<std::wstring, int> measured;
    int widest = 0;
    for (const Row& row : rows_) {
        const std::wstring& text = TextOf(row, column);
        auto found = measured.find(text);
        if (found == measured.end())
            found = measured.emplace(text, cells.Width(text)).first;
        widest = std::max(widest, found->second);
    }
    int width = widest + CellPadding();
    if (!useHeader)
        return width;

    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    TextMeasure headerText(header, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    if (headerText.Ready())
        width = std::max(width, headerText.Width(columnTexts_[static_cast<size_t>(column)]) + HeaderPadding());

    if (static_cast<size_t>(column) + 1 == columnTexts_.size()) {
        RECT client = {};
        GetClientRect(window_, &client);
        int others = 0;
        for (int i = 0; i < column; ++i)
            others += static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i)));
        width = std::max(width, static_cast<int>(client.right) - others);
    }
    return width;
}

// --- window plumbing ---

void Win32ListView::ChangeStyle(LONG_PTR remove, LONG_PTR add)
{
    const LONG_PTR old = GetWindowLongPtrW(window_, GWL_STYLE);
    const LONG_PTR updated = (old & ~remove) | add;
    if (updated == old)
        return;
    SetLastError(0);
    if (SetWindowLongPtrW(window_, GWL_STYLE, updated) == 0 && GetLastError() != 0)
        ThrowLastError(L"SetWindowLongPtr (list view style)");
}

void Win32ListView::ChangeExStyle(LONG_PTR remove, LONG_PTR add)
{
    const LONG_PTR old = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    const LONG_PTR updated = (old & ~remove) | add;
    if (updated == old)
        return;
    SetLastError(0);
    if (SetWindowLongPtrW(window_, GWL_EXSTYLE, updated) == 0 && GetLastError() != 0)
        ThrowLastError(L"SetWindowLongPtr (list view border)");
    // The frame is drawn from the extended style only after this.
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Win32ListView::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(window_, message, wParam, lParam);
}

bool Win32ListView::OnNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
            const int index = info.item.iItem;
            const std::wstring& text = index >= 0 && static_cast<size_t>(index) < order_.size()
                                           ? TextOf(rows_[order_[static_cast<size_t>(index)]], info.item.iSubItem)
                                           : empty_;
            const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax) - 1);
            text.copy(info.item.pszText, length);
            info.item.pszText[length] = L'\0';
        }
        result = 0;
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Typing the first letters of a row moves to it.
        auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        result = -1;
        if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || order_.empty())
            return true;
        const std::wstring wanted = find.lvfi.psz;
        const size_t count = order_.size();
        const size_t start = find.iStart >= 0 ? static_cast<size_t>(find.iStart) % count : 0;
        for (size_t step = 0; step < count; ++step) {
            const size_t index = (start + step) % count;
            const std::wstring& text = rows_[order_[index]].text;
            if (text.size() >= wanted.size() &&
                CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), static_cast<int>(wanted.size()),
                               wanted.c_str(), static_cast<int>(wanted.size())) == CSTR_EQUAL) {
                result = static_cast<LRESULT>(index);
                break;
            }
        }
        return true;
    }
    case LVN_ENDLABELEDITW: {
        auto& edit = reinterpret_cast<NMLVDISPINFOW&>(header);
        result = FALSE;
        const int index = edit.item.iItem;
        if (edit.item.pszText && index >= 0 && static_cast<size_t>(index) < order_.size()) {
            rows_[order_[static_cast<size_t>(index)]].text = edit.item.pszText;
            if (sorted_ && sortKey_ == 0)
                RequestFullSort();
            result = TRUE;
        }
        return true;
    }
    case LVN_COLUMNCLICK:
        if (onColumnClick) {
            const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
            Header clicked(*this, click.iSubItem + 1);
            DispatchEvent([&] { onColumnClick(clicked); });
        }
        result = 0;
        return true;
    case NM_DBLCLK:
        if (onDblClick)
            DispatchEvent(onDblClick);
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK Win32ListView::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self)
{
    auto* list = reinterpret_cast<Win32ListView*>(self);
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (header && header->hwndFrom == list->window_ && list->OnNotify(*header, result))
            return result;
    } else if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ParentProc, id);
        list->parent_ = nullptr;
    }
    return CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32ListView::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self)
{
    auto* list = reinterpret_cast<Win32ListView*>(self);
    if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ListProc, id);
        list->window_ = nullptr;
        return CommonControls().DefSubclassProc(window, message, wParam, lParam);
    }
    if (message != WM_DESTROY) {
        // A failure here must not unwind through the window system; the
        // control simply catches up at its next message.
        try {
            list->Synchronize();
        } catch (const Error&) {
        }
    }
    if (message != 0 && message == ResumeRedrawMessage()) {
        list->ResumeRedraw();
        return 0;
    }
    if (message == LVM_SETCOLUMNWIDTH && (lParam == LVSCW_AUTOSIZE || lParam == LVSCW_AUTOSIZE_USEHEADER)) {
        int width = -1;
        try {
            width = list->AutoSizeWidth(static_cast<int>(wParam), lParam == LVSCW_AUTOSIZE_USEHEADER);
        } catch (const std::exception&) {
        }
        if (width >= 0)
            return CommonControls().DefSubclassProc(window, message, wParam, MAKELPARAM(width, 0));
    }
    return CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace dovrel::win32
