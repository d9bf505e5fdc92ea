#include "tests/host/RecordingListView.h"

#include <algorithm>
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

namespace {

std::string Bool(bool value) { return value ? "True" : "False"; }

std::wstring Folded(const std::wstring& text)
{
    std::wstring result = text;
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return result;
}

class FakeColumnHeader final : public ColumnHeader {
public:
    FakeColumnHeader(const RecordingListView& owner, std::int32_t index) : owner_(owner), index_(index) {}
    std::int32_t Index() const override
    {
        owner_.Record("ColumnHeader.Index -> " + std::to_string(index_));
        return index_;
    }
    std::wstring Text() const override { return owner_.columns.at(static_cast<size_t>(index_ - 1)); }

private:
    const RecordingListView& owner_;
    std::int32_t index_;
};

class FakeListItem final : public ListItem {
public:
    FakeListItem(RecordingListView& owner, std::uint64_t id) : owner_(owner), id_(id) {}

    std::wstring Text() const override
    {
        owner_.Record(Name() + ".Text");
        return owner_.RowOf(id_).text;
    }
    std::wstring SubItem(std::int32_t index) const override
    {
        owner_.Record(Name() + ".SubItems(" + std::to_string(index) + ")");
        const auto& subItems = owner_.RowOf(id_).subItems;
        return index >= 1 && static_cast<size_t>(index) <= subItems.size() ? subItems[index - 1] : L"";
    }
    void SetSubItem(std::int32_t index, const std::wstring& text) override
    {
        owner_.Record(Name() + ".SubItems(" + std::to_string(index) + ") = " + Utf8(text));
        if (index < 1 || index > 1000)
            throw Error(kErrInvalidIndex, L"Invalid property value");
        auto& subItems = owner_.RowOf(id_).subItems;
        if (subItems.size() < static_cast<size_t>(index))
            subItems.resize(static_cast<size_t>(index));
        subItems[index - 1] = text;
    }
    bool Selected() const override
    {
        owner_.Record(Name() + ".Selected");
        return owner_.RowOf(id_).selected;
    }
    void SetSelected(bool selected) override
    {
        owner_.Record(Name() + ".Selected = " + Bool(selected));
        if (selected && !owner_.multiSelect_)
            for (auto& row : owner_.rows)
                row.selected = false;
        owner_.RowOf(id_).selected = selected;
    }
    bool EnsureVisible() override
    {
        owner_.Record(Name() + ".EnsureVisible");
        owner_.ensuredVisible.push_back(owner_.PositionOf(id_));
        return true;
    }

private:
    std::string Name() const { return "Item(" + std::to_string(owner_.PositionOf(id_)) + ")"; }
    RecordingListView& owner_;
    std::uint64_t id_;
};

}  // namespace

class RecordingListView::Columns final : public ColumnHeaderCollection {
public:
    explicit Columns(RecordingListView& owner) : owner_(owner) {}
    std::unique_ptr<ColumnHeader> Add(const std::wstring& text) override
    {
        owner_.Record("ColumnHeaders.Add " + Utf8(text));
        owner_.columns.push_back(text);
        return std::make_unique<FakeColumnHeader>(owner_, static_cast<std::int32_t>(owner_.columns.size()));
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
        return std::make_unique<FakeColumnHeader>(owner_, index);
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
        return owner_.AddRow(text);
    }
    void Clear() override
    {
        owner_.Record("ListItems.Clear");
        owner_.rows.clear();
    }
    std::int32_t Count() const override
    {
        const auto count = static_cast<std::int32_t>(owner_.rows.size());
        owner_.Record("ListItems.Count -> " + std::to_string(count));
        return count;
    }
    std::unique_ptr<ListItem> Item(std::int32_t index) override
    {
        owner_.Record("ListItems.Item(" + std::to_string(index) + ")");
        if (index < 1 || static_cast<size_t>(index) > owner_.rows.size())
            throw Error(kErrInvalidIndex, L"Index out of bounds");
        return std::make_unique<FakeListItem>(owner_, owner_.rows[index - 1].id);
    }

private:
    RecordingListView& owner_;
};

RecordingListView::RecordingListView()
    : columnCollection_(std::make_unique<Columns>(*this)), itemCollection_(std::make_unique<Items>(*this))
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
        rows.push_back(Row{nextId_++, text, {}, false});
}

void RecordingListView::SetStateQuietly(bool sorted, std::int16_t key, std::int32_t order)
{
    sorted_ = sorted;
    sortKey_ = key;
    sortOrder_ = order;
}

void RecordingListView::SelectQuietly(std::int32_t position, bool selected)
{
    rows.at(static_cast<size_t>(position - 1)).selected = selected;
}

void RecordingListView::Record(const std::string& entry) const
{
    if (!failOn.empty() && entry.rfind(failOn, 0) == 0)
        throw Error(kErrSystem, L"Injected failure: " + std::wstring(entry.begin(), entry.end()));
    if (faults)
        faults->RaiseIfFires("lvPorts." + entry);
    log.push_back(entry);
    if (sharedLog)
        sharedLog->push_back("lvPorts." + entry);
}

bool RecordingListView::Sorted() const
{
    Record("Sorted -> " + Bool(sorted_));
    return sorted_;
}

void RecordingListView::SetSorted(bool sorted)
{
    Record("Sorted = " + Bool(sorted));
    sorted_ = sorted;
    Resort();
}

std::int16_t RecordingListView::SortKey() const
{
    Record("SortKey -> " + std::to_string(sortKey_));
    return sortKey_;
}

void RecordingListView::SetSortKey(std::int16_t key)
{
    Record("SortKey = " + std::to_string(key));
    sortKey_ = key;
    Resort();
}

std::int32_t RecordingListView::SortOrder() const
{
    Record("SortOrder -> " + std::to_string(sortOrder_));
    return sortOrder_;
}

void RecordingListView::SetSortOrder(std::int32_t order)
{
    Record("SortOrder = " + std::to_string(order));
    sortOrder_ = order;
    Resort();
}

bool RecordingListView::MultiSelect() const
{
    Record("MultiSelect -> " + Bool(multiSelect_));
    return multiSelect_;
}

void RecordingListView::SetMultiSelect(bool multiSelect)
{
    Record("MultiSelect = " + Bool(multiSelect));
    multiSelect_ = multiSelect;
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
    for (const auto& row : rows)
        if (row.selected)
            return std::make_unique<FakeListItem>(*this, row.id);
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

std::vector<std::wstring> RecordingListView::Texts() const
{
    std::vector<std::wstring> texts;
    for (const auto& row : rows)
        texts.push_back(row.text);
    return texts;
}

std::vector<std::int32_t> RecordingListView::SelectedPositions() const
{
    std::vector<std::int32_t> positions;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].selected)
            positions.push_back(static_cast<std::int32_t>(i + 1));
    return positions;
}

std::int32_t RecordingListView::PositionOf(std::uint64_t id) const
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

RecordingListView::Row& RecordingListView::RowOf(std::uint64_t id)
{
    const std::int32_t position = PositionOf(id);
    if (position == 0)
        throw Error(kErrInvalidIndex, L"The item is no longer in the list");
    return rows[position - 1];
}

std::unique_ptr<ListItem> RecordingListView::AddRow(const std::wstring& text)
{
    rows.push_back(Row{nextId_, text, {}, false});
    auto item = std::make_unique<FakeListItem>(*this, nextId_++);
    Resort();
    return item;
}

void RecordingListView::Resort()
{
    if (!sorted_)
        return;
    auto keyOf = [this](const Row& row) {
        if (sortKey_ == 0)
            return Folded(row.text);
        const auto index = static_cast<size_t>(sortKey_);
        return index <= row.subItems.size() ? Folded(row.subItems[index - 1]) : std::wstring();
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return sortOrder_ == 0 ? keyOf(a) < keyOf(b) : keyOf(b) < keyOf(a);
    });
}

void RecordingListView::SetTopIndex(std::int32_t position)
{
    Record("TopIndex = " + std::to_string(position));
    topIndex = position;
}

}  // namespace dovrel::test
