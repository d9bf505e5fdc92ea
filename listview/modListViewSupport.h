#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ListViewControl.h"
#include "platform/Types.h"

// Generic procedures for a report-style list view: sorting, selection, column
// auto-size and extended styles. They know nothing of ports, keep nothing
// between calls, and count columns and items from 1.
namespace dovrel::modListViewSupport {

// The extended styles set here (the platform's bits).
constexpr std::uint32_t kLvsExGridLines = 0x1;       // LVS_EX_GRIDLINES
constexpr std::uint32_t kLvsExFullRowSelect = 0x20;  // LVS_EX_FULLROWSELECT
constexpr std::uint32_t kLvsExLabelTip = 0x4000;     // LVS_EX_LABELTIP

// Sorts ascending on the header's column, or reverses the order when the
// list is already sorted on it.
void ListViewColumnClickSort(ListViewControl& listView, ColumnHeader& header);
// Sorts ascending on column n; nothing when n is out of range.
void ListViewSortByColumn(ListViewControl& listView, std::int32_t column);
// Selects item n and scrolls it into view.
void ListViewSelectItem(ListViewControl& listView, std::int32_t item);
void ListViewAutoSizeColumn(ListViewControl& listView, std::int32_t column, Truth useHeader);
void ListViewAutoSizeColumns(ListViewControl& listView, Truth useHeader);
// Sets or clears the given extended style bits, leaving the others alone.
void ListViewSetExtendedStyle(ListViewControl& listView, std::uint32_t style, Truth enable);
void ListViewFullRowSelect(ListViewControl& listView, Truth enable);
void ListViewGridLines(ListViewControl& listView, Truth enable);
void ListViewLabelTip(ListViewControl& listView, Truth enable);

// The texts of the column headers, in column order.
std::vector<std::wstring> ListViewHeaderTexts(ListViewControl& listView);
// An item's text and its sub-items, one text per column.
std::vector<std::wstring> ListViewItemTexts(ListViewControl& listView, ListItem& item);
// The first item whose text is exactly `text`; 0 when there is none.
std::int32_t ListViewFindItem(ListViewControl& listView, const std::wstring& text);

}  // namespace dovrel::modListViewSupport
