#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"

namespace dovrel::fuzz {

// Stops the run: the fuzzer reports it as a crash, with the input.
[[noreturn]] inline void Fault() { __builtin_trap(); }

// The port window's side of a refresh, as cheap as it can be: the fuzz
// targets run it hundreds of thousands of times. Nothing is logged, and
// nothing here raises an error unless a target asks for one.

// A report-view list with four columns. Rows stay in the order they were
// added: the sorting the list is asked for is not what the targets look at.
class LeanListView final : public ListViewControl {
public:
    struct Row {
        std::wstring text;
        std::vector<std::wstring> subItems;
        bool selected = false;
    };

    LeanListView();
    ~LeanListView() override;

    bool Sorted() const override { return sorted_; }
    void SetSorted(bool sorted) override { sorted_ = sorted; }
    std::int16_t SortKey() const override { return sortKey_; }
    void SetSortKey(std::int16_t key) override { sortKey_ = key; }
    std::int32_t SortOrder() const override { return sortOrder_; }
    void SetSortOrder(std::int32_t order) override { sortOrder_ = order; }
    bool MultiSelect() const override { return false; }
    void SetMultiSelect(bool) override {}
    void SetBorderStyle(ListBorderStyle) override {}
    void SetHideSelection(bool) override {}
    void SetLabelEdit(ListLabelEdit) override {}
    void SetView(ListViewView) override {}
    WindowHandle hWnd() const override { return 0x4711; }
    ColumnHeaderCollection& ColumnHeaders() override;
    ListItemCollection& ListItems() override;
    std::unique_ptr<ListItem> SelectedItem() override;
    void AutoSizeColumn(std::int32_t, bool) override {}
    void SetExtendedStyle(std::uint32_t, std::uint32_t) override {}
    std::int32_t TopIndex() const override { return rows.empty() ? 0 : 1; }
    void SetTopIndex(std::int32_t) override {}

    std::vector<Row> rows;
    // When not 0, adding row number refuseAdd (from 1) raises an Error.
    std::size_t refuseAdd = 0;

private:
    class Columns;
    class Items;
    class Item;
    bool sorted_ = false;
    std::int16_t sortKey_ = 0;
    std::int32_t sortOrder_ = 0;
    std::unique_ptr<Columns> columns_;
    std::unique_ptr<Items> items_;
};

class LeanButton final : public CommandButton {
public:
    WindowHandle hWnd() const override { return 0x2000; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override { enabled = value; }
    float Left() const override { return 0; }
    void SetLeft(float) override {}
    float Top() const override { return 0; }
    float Width() const override { return 1335; }
    float Height() const override { return 375; }

    bool enabled = true;
};

// Counts message boxes and keeps the mouse pointer; creating the window is
// not its business.
class LeanRuntime final : public FormsRuntime {
public:
    void InitCommonControls() override { Fault(); }
    FormControls& CreateForm(const FormDefinition&) override { Fault(); }
    std::wstring AppTitle() const override { return L"Orvane - Dovrel"; }
    void SetScreenMousePointer(MousePointer value) override { pointer = value; }
    std::int32_t MsgBox(const std::wstring&, std::int32_t) override
    {
        ++messageBoxes;
        return kIdOk;
    }
    std::wstring InputBox(const std::wstring&, const std::wstring&) override { Fault(); }
    void SetClipboardText(const std::wstring&) override { Fault(); }
    bool ShowSaveAs(const std::vector<FileType>&, const std::wstring&, SaveAsChoice&) override { Fault(); }

    MousePointer pointer = MousePointer::Default;
    int messageBoxes = 0;
};

}  // namespace dovrel::fuzz
