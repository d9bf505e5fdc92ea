#include "tests/fuzz/LeanFakes.h"

#include "platform/Error.h"

namespace dovrel::fuzz {

namespace {

constexpr std::int32_t kColumns = 4;

class LeanColumnHeader final : public ColumnHeader {
public:
    explicit LeanColumnHeader(std::int32_t index) : index_(index) {}
    std::int32_t Index() const override { return index_; }
    std::wstring Text() const override { return L"Column"; }

private:
    std::int32_t index_;
};

}  // namespace

class LeanListView::Columns final : public ColumnHeaderCollection {
public:
    std::unique_ptr<ColumnHeader> Add(const std::wstring&) override { Fault(); }
    std::int32_t Count() const override { return kColumns; }
    std::unique_ptr<ColumnHeader> Item(std::int32_t index) override
    {
        if (index < 1 || index > kColumns)
            throw Error(kErrInvalidIndex, L"Index out of bounds");
        return std::make_unique<LeanColumnHeader>(index);
    }
};

// Rows are only ever appended or all cleared, so a row's position names it.
class LeanListView::Item final : public ListItem {
public:
    Item(LeanListView& owner, std::size_t position) : owner_(owner), position_(position) {}
    std::wstring Text() const override { return Entry().text; }
    std::wstring SubItem(std::int32_t index) const override
    {
        const auto& subItems = Entry().subItems;
        return index >= 1 && static_cast<std::size_t>(index) <= subItems.size() ? subItems[index - 1] : L"";
    }
    void SetSubItem(std::int32_t index, const std::wstring& text) override
    {
        if (index < 1 || index >= kColumns)
            throw Error(kErrInvalidIndex, L"Invalid property value");
        auto& subItems = Entry().subItems;
        if (subItems.size() < static_cast<std::size_t>(index))
            subItems.resize(static_cast<std::size_t>(index));
        subItems[index - 1] = text;
    }
    bool Selected() const override { return Entry().selected; }
    void SetSelected(bool selected) override
    {
        for (auto& row : owner_.rows)
            row.selected = false;
        Entry().selected = selected;
    }
    bool EnsureVisible() override { return true; }

private:
    LeanListView::Row& Entry() const
    {
        if (position_ >= owner_.rows.size())
            throw Error(kErrInvalidIndex, L"The item is no longer in the list");
        return owner_.rows[position_];
    }

    LeanListView& owner_;
    std::size_t position_;
};

class LeanListView::Items final : public ListItemCollection {
public:
    explicit Items(LeanListView& owner) : owner_(owner) {}
    std::unique_ptr<ListItem> Add(const std::wstring& text) override
    {
        if (owner_.rows.size() + 1 == owner_.refuseAdd)
            throw Error(kErrSystem, L"The list refused the row");
        owner_.rows.push_back(Row{text, {}, false});
        return std::make_unique<LeanListView::Item>(owner_, owner_.rows.size() - 1);
    }
    void Clear() override { owner_.rows.clear(); }
    std::int32_t Count() const override { return static_cast<std::int32_t>(owner_.rows.size()); }
    std::unique_ptr<ListItem> Item(std::int32_t index) override
    {
        if (index < 1 || static_cast<std::size_t>(index) > owner_.rows.size())
            throw Error(kErrInvalidIndex, L"Index out of bounds");
        return std::make_unique<LeanListView::Item>(owner_, static_cast<std::size_t>(index) - 1);
    }

private:
    LeanListView& owner_;
};

LeanListView::LeanListView() : columns_(std::make_unique<Columns>()), items_(std::make_unique<Items>(*this)) {}

LeanListView::~LeanListView() = default;

ColumnHeaderCollection& LeanListView::ColumnHeaders() { return *columns_; }

ListItemCollection& LeanListView::ListItems() { return *items_; }

std::unique_ptr<ListItem> LeanListView::SelectedItem()
{
    for (std::size_t position = 0; position < rows.size(); ++position)
        if (rows[position].selected)
            return std::make_unique<Item>(*this, position);
    return nullptr;
}

}  // namespace dovrel::fuzz
