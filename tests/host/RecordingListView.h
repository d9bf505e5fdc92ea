#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ListViewControl.h"
#include "tests/host/FaultPlan.h"

namespace dovrel::test {

// An in-memory list view that logs every property read, write, collection
// access and message in order, so tests can check the order of effects.
// It sorts like the real control (case-insensitive text) while Sorted is on.
class RecordingListView final : public ListViewControl {
public:
    struct Row {
        std::uint64_t id;
        std::wstring text;
        std::vector<std::wstring> subItems;
        bool selected = false;
    };
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

    mutable std::vector<std::string> log;
    std::vector<AutoSize> autoSized;  // every AutoSizeColumn, in order
    std::vector<Row> rows;            // in display order
    std::vector<std::wstring> columns;
    std::vector<std::int32_t> ensuredVisible;  // positions scrolled into view
    std::int32_t topIndex = 1;                 // the row at the top of the view
    WindowHandle window = 0x4711;
    // When set, the operation whose log entry starts with this text raises
    // an Error instead of running.
    std::string failOn;
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
    std::int32_t TopIndex() const override { return rows.empty() ? 0 : topIndex; }
    void SetTopIndex(std::int32_t position) override;

    std::vector<std::wstring> Texts() const;
    std::vector<std::int32_t> SelectedPositions() const;

    // Used by the fake's items and collections.
    void Record(const std::string& entry) const;
    std::int32_t PositionOf(std::uint64_t id) const;  // 1-based, 0 when gone
    Row& RowOf(std::uint64_t id);
    std::unique_ptr<ListItem> AddRow(const std::wstring& text);
    void Resort();

    bool sorted_ = false;
    std::int16_t sortKey_ = 0;
    std::int32_t sortOrder_ = 0;
    bool multiSelect_ = false;
    std::uint64_t nextId_ = 1;

private:
    class Columns;
    class Items;
    std::unique_ptr<Columns> columnCollection_;
    std::unique_ptr<Items> itemCollection_;
};

std::string Utf8(const std::wstring& text);

}  // namespace dovrel::test
