#include "tests/host/RecordingListView.h"

#include <cwctype>

#include "platform/Error.h"

namespace dovrel::test {

std::string Utf8(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return result;
}

int CompareIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    std::wstring x = a, y = b;
    for (auto* text : {&x, &y})
        for (wchar_t& c : *text)
            c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return x.compare(y);
}

namespace {

std::string Bool(bool value) { return value ? "True" : "False"; }

}  // namespace

class RecordingListView::Header final : public ColumnHeader {
public:
    Header(const RecordingListView& owner, std::int32_t index) : owner_(owner), index_(index) {}
    std::int32_t Index() const override { return index_; }
    std::wstring Text() const override
    {
        return index_ >= 1 && static_cast<size_t>(index_) <= owner_.columns.size() ? owner_.columns[index_ - 1] : L"";
    }

private:
    const RecordingListView& owner_;
    std::int32_t index_;
};

class RecordingListView::Item final : public ListItem {
public:
    Item(RecordingListView& owner, RowOrder::RowId id) : owner_(owner), id_(id) {}

    std::wstring Text() const override
    {
        owner_.Record(Name() + ".Text");
        return owner_.rows_.Cell(id_, 0);
    }
    std::wstring SubItem(std::int32_t index) const override
    {
        owner_.Record(Name() + ".SubItems(" + std::to_string(index) + ")");
        return index >= 1 ? owner_.rows_.Cell(id_, index) : L"";
    }
    void SetSubItem(std::int32_t index, const std::wstring& text) override
    {
        owner_.Record(Name() + ".SubItems(" + std::to_string(index) + ") = " + Utf8(text));
        if (index < 1 || index > 1000)
            throw Error(kErrInvalidIndex, L"Invalid property value");
        owner_.rows_.SetCell(id_, index, text);
    }
    bool Selected() const override
    {
        owner_.Record(Name() + ".Selected");
        owner_.rows_.Cell(id_, 0);  // raises for a row that is gone
        return owner_.selected_.count(id_) != 0;
    }
    void SetSelected(bool selected) override
    {
        owner_.Record(Name() + ".Selected = " + Bool(selected));
        owner_.Select(id_, selected);
    }
    bool EnsureVisible() override
    {
        owner_.Record(Name() + ".EnsureVisible");
        owner_.Arrange();
        owner_.ensuredVisible.push_back(owner_.PositionOf(id_));
        return true;
    }

private:
    std::string Name() const { return "Item(" + std::to_string(owner_.PositionOf(id_)) + ")"; }
    RecordingListView& owner_;
    RowOrder::RowId id_;
};

class RecordingListView::Columns final : public ColumnHeaderCollection {
public:
    explicit Columns(RecordingListView& owner) : owner_(owner) {}
    std::unique_ptr<ColumnHeader> Add(const std::wstring& text) override
    {
        owner_.Record("ColumnHeaders.Add " + Utf8(text));
        owner_.columns.push_back(text);
        return owner_.HeaderAt(static_cast<std::int32_t>(owner_.columns.size()));
    }
    std::int32_t Count() const override
    {
        const auto count = static_cast<std::int32_t>(owner_.columns.size());
        owner_.Record("ColumnHeaders.Count -> " + std::to_string(count));
        return count;
    }
    std::unique_ptr<ColumnHeader> Item(std::int32_t index) override
    {
        owner_.Record("ColumnHeaders.Item(" + std::to_string(index) + ")");
        if (index < 1 || static_cast<size_t>(index) > owner_.columns.size())
            throw Error(kErrInvalidIndex, L"Index out of bounds");
        return owner_.HeaderAt(index);
    }

private:
    RecordingListView& owner_;
};

class RecordingListView::Items final : public ListItemCollection {
public:
    explicit Items(RecordingListView& owner) : owner_(owner) {}
    std::unique_ptr<ListItem> Add(const std::wstring& text) override
    {
        owner_.Record("ListItems.Add " + Utf8(text));
        return std::make_unique<RecordingListView::Item>(owner_, owner_.rows_.Add(text));
    }
    void Clear() override
    {
        owner_.Record("ListItems.Clear");
        owner_.rows_.Clear();
        owner_.selected_.clear();
    }
    std::int32_t Count() const override
    {
        const auto count = static_cast<std::int32_t>(owner_.rows_.Count());
        owner_.Record("ListItems.Count -> " + std::to_string(count));
        return count;
    }
    std::unique_ptr<ListItem> Item(std::int32_t index) override
    {
        owner_.Record("ListItems.Item(" + std::to_string(index) + ")");
        if (index < 1 || static_cast<size_t>(index) > owner_.rows_.Count())
            throw Error(kErrInvalidIndex, L"Index out of bounds");
        owner_.Arrange();
        return std::make_unique<RecordingListView::Item>(owner_, owner_.rows_.IdAt(static_cast<size_t>(index) - 1));
    }

private:
    RecordingListView& owner_;
};

RecordingListView::RecordingListView()
    : rows_(CompareIgnoringCase), columnCollection_(std::make_unique<Columns>(*this)),
      itemCollection_(std::make_unique<Items>(*this))
{
}

RecordingListView::~RecordingListView() = default;

void RecordingListView::AddColumnsQuietly(int count)
{
    for (int i = 0; i < count; ++i)
        columns.push_back(L"Column " + std::to_wstring(i + 1));
}

void RecordingListView::AddRowsQuietly(const std::vector<std::wstring>& texts)
{
    for (const auto& text : texts)
        rows_.Add(text);
}

void RecordingListView::SetStateQuietly(bool sorted, std::int16_t key, std::int32_t order)
{
    rows_.SetSortKey(key);
    rows_.SetSortOrder(order);
    rows_.SetSorted(sorted);
}

void RecordingListView::SelectQuietly(std::int32_t position, bool selected)
{
    Arrange();
    if (position < 1 || static_cast<size_t>(position) > rows_.Count())
        throw Error(kErrInvalidIndex, L"Index out of bounds");
    Select(rows_.IdAt(static_cast<size_t>(position) - 1), selected);
}

void RecordingListView::SelectOnly(const std::wstring& text)
{
    Arrange();
    selected_.clear();
    for (size_t position = 0; position < rows_.Count(); ++position)
        if (rows_.CellAt(position, 0) == text)
            selected_.insert(rows_.IdAt(position));
}

std::unique_ptr<ColumnHeader> RecordingListView::HeaderAt(std::int32_t index) const
{
    return std::make_unique<Header>(*this, index);
}

void RecordingListView::Record(const std::string& entry) const
{
    if (faults)
        faults->RaiseIfFires("lvPorts." + entry);
    log.push_back(entry);
    if (sharedLog)
        sharedLog->push_back("lvPorts." + entry);
}

void RecordingListView::Arrange() const
{
    if (rows_.NeedsArranging())
        rows_.Arrange({}, 0);
}

std::int32_t RecordingListView::PositionOf(RowOrder::RowId id) const
{
    return rows_.Contains(id) ? static_cast<std::int32_t>(rows_.PositionOf(id)) + 1 : 0;
}

void RecordingListView::Select(RowOrder::RowId id, bool selected)
{
    rows_.Cell(id, 0);  // raises for a row that is gone
    if (selected && !multiSelect)
        selected_.clear();
    if (selected)
        selected_.insert(id);
    else
        selected_.erase(id);
}

bool RecordingListView::Sorted() const
{
    Record("Sorted -> " + Bool(rows_.Sorted()));
    return rows_.Sorted();
}

void RecordingListView::SetSorted(bool sorted)
{
    Record("Sorted = " + Bool(sorted));
    rows_.SetSorted(sorted);
}

std::int16_t RecordingListView::SortKey() const
{
    Record("SortKey -> " + std::to_string(rows_.SortKey()));
    return static_cast<std::int16_t>(rows_.SortKey());
}

void RecordingListView::SetSortKey(std::int16_t key)
{
    Record("SortKey = " + std::to_string(key));
    rows_.SetSortKey(key);
}

std::int32_t RecordingListView::SortOrder() const
{
    Record("SortOrder -> " + std::to_string(rows_.SortOrder()));
    return rows_.SortOrder();
}

void RecordingListView::SetSortOrder(std::int32_t order)
{
    Record("SortOrder = " + std::to_string(order));
    rows_.SetSortOrder(order);
}

bool RecordingListView::MultiSelect() const
{
    Record("MultiSelect -> " + Bool(multiSelect));
    return multiSelect;
}

void RecordingListView::SetMultiSelect(bool value)
{
    Record("MultiSelect = " + Bool(value));
    multiSelect = value;
}

void RecordingListView::SetBorderStyle(ListBorderStyle style)
{
    Record("BorderStyle = " + std::to_string(static_cast<int>(style)));
}

void RecordingListView::SetHideSelection(bool hide) { Record("HideSelection = " + Bool(hide)); }

void RecordingListView::SetLabelEdit(ListLabelEdit mode)
{
    Record("LabelEdit = " + std::to_string(static_cast<int>(mode)));
}

void RecordingListView::SetView(ListViewView view) { Record("View = " + std::to_string(static_cast<int>(view))); }

WindowHandle RecordingListView::hWnd() const
{
    Record("hWnd");
    return window;
}

ColumnHeaderCollection& RecordingListView::ColumnHeaders() { return *columnCollection_; }

ListItemCollection& RecordingListView::ListItems() { return *itemCollection_; }

std::unique_ptr<ListItem> RecordingListView::SelectedItem()
{
    Record("SelectedItem");
    Arrange();
    for (size_t position = 0; position < rows_.Count(); ++position)
        if (selected_.count(rows_.IdAt(position)))
            return std::make_unique<Item>(*this, rows_.IdAt(position));
    return nullptr;
}

void RecordingListView::AutoSizeColumn(std::int32_t column, bool useHeader)
{
    Record("AutoSizeColumn " + std::to_string(column) + (useHeader ? " header" : " contents"));
    autoSized.push_back(AutoSize{column, useHeader});
}

void RecordingListView::SetExtendedStyle(std::uint32_t mask, std::uint32_t bits)
{
    Record("SetExtendedStyle " + std::to_string(mask) + " " + std::to_string(bits));
}

void RecordingListView::SetTopIndex(std::int32_t position)
{
    Record("TopIndex = " + std::to_string(position));
    topIndex = position;
}

std::vector<std::wstring> RecordingListView::Column(int column) const
{
    Arrange();
    std::vector<std::wstring> texts;
    for (size_t position = 0; position < rows_.Count(); ++position)
        texts.push_back(rows_.CellAt(position, column));
    return texts;
}

std::vector<std::int32_t> RecordingListView::SelectedPositions() const
{
    Arrange();
    std::vector<std::int32_t> positions;
    for (size_t position = 0; position < rows_.Count(); ++position)
        if (selected_.count(rows_.IdAt(position)))
            positions.push_back(static_cast<std::int32_t>(position + 1));
    return positions;
}

}  // namespace dovrel::test
