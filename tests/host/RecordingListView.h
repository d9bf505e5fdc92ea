#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/ListViewControl.h"
#include "platform/RowOrder.h"
#include "tests/host/FaultPlan.h"

namespace dovrel::test {

// Case-insensitive, as the list compares its texts.
int CompareIgnoringCase(const std::wstring& a, const std::wstring& b);

// An in-memory list view that logs every property read, write, collection
// access and message in order, so tests can check the order of effects.
// Its rows are kept in order by the program's RowOrder, as the real control
// keeps them: rows added or changed are put in place when the order is next
// read.
class RecordingListView final : public ListViewControl {
public:
    struct AutoSize {
        std::int32_t column;
        bool useHeader;
    };

    RecordingListView();
    ~RecordingListView() override;

    // Set-up that is not logged.
    void AddColumnsQuietly(int count);
    void AddRowsQuietly(const std::vector<std::wstring>& texts);
    void SetStateQuietly(bool sorted, std::int16_t key, std::int32_t order);
    void SelectQuietly(std::int32_t position, bool selected);
    // Selects the rows with this text and no others.
    void SelectOnly(const std::wstring& text);
    // A header for any index, as the control hands one to a column click.
    std::unique_ptr<ColumnHeader> HeaderAt(std::int32_t index) const;

    mutable std::vector<std::string> log;
    std::vector<AutoSize> autoSized;  // every AutoSizeColumn, in order
    std::vector<std::wstring> columns;
    std::vector<std::int32_t> ensuredVisible;  // positions scrolled into view
    std::int32_t topIndex = 1;                 // the row at the top of the view
    bool multiSelect = false;
    WindowHandle window = 0x4711;
    // When set, every entry is also appended here with the prefix
    // "lvPorts.", so tests can see the list's steps among other fakes'.
    std::vector<std::string>* sharedLog = nullptr;
    // When set, every operation of the list, its items and its columns
    // counts down this plan and fails when its turn comes.
    FaultPlan* faults = nullptr;

    bool Sorted() const override;
    void SetSorted(bool sorted) override;
    std::int16_t SortKey() const override;
    void SetSortKey(std::int16_t key) override;
    std::int32_t SortOrder() const override;
    void SetSortOrder(std::int32_t order) override;
    bool MultiSelect() const override;
    void SetMultiSelect(bool multiSelect) override;
    void SetBorderStyle(ListBorderStyle style) override;
    void SetHideSelection(bool hide) override;
    void SetLabelEdit(ListLabelEdit mode) override;
    void SetView(ListViewView view) override;
    WindowHandle hWnd() const override;
    ColumnHeaderCollection& ColumnHeaders() override;
    ListItemCollection& ListItems() override;
    std::unique_ptr<ListItem> SelectedItem() override;
    void AutoSizeColumn(std::int32_t column, bool useHeader) override;
    void SetExtendedStyle(std::uint32_t mask, std::uint32_t bits) override;
    std::int32_t TopIndex() const override { return rows_.Count() == 0 ? 0 : topIndex; }
    void SetTopIndex(std::int32_t position) override;

    // The cells of a column (0 the row texts) in the order shown.
    std::vector<std::wstring> Column(int column) const;
    std::vector<std::wstring> Texts() const { return Column(0); }
    std::vector<std::int32_t> SelectedPositions() const;

private:
    class Header;
    class Item;
    class Columns;
    class Items;

    void Record(const std::string& entry) const;
    void Arrange() const;
    std::int32_t PositionOf(RowOrder::RowId id) const;  // 1-based, 0 when gone
    void Select(RowOrder::RowId id, bool selected);

    mutable RowOrder rows_;
    std::set<RowOrder::RowId> selected_;
    std::unique_ptr<Columns> columnCollection_;
    std::unique_ptr<Items> itemCollection_;
};

std::string Utf8(const std::wstring& text);

}  // namespace dovrel::test
