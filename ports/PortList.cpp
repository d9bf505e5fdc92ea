#include "ports/PortList.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "listview/modListViewSupport.h"
#include "platform/Error.h"
#include "ports/Refusals.h"

namespace dovrel {

namespace {

using modListViewSupport::ListViewAutoSizeColumns;
using modListViewSupport::ListViewFindItem;
using modListViewSupport::ListViewSelectItem;
using modListViewSupport::ListViewSortByColumn;

struct TypePiece {
    std::uint32_t bit;
    const wchar_t* text;
};

constexpr TypePiece kTypePieces[] = {
    {1, L"Write, "},         // PORT_TYPE_WRITE
    {2, L"Read, "},          // PORT_TYPE_READ
    {4, L"Redirected, "},    // PORT_TYPE_REDIRECTED
    {8, L"Net attached, "},  // PORT_TYPE_NET_ATTACHED
};

bool EndsWithSeparator(const std::wstring& text)
{
    return text.size() >= 2 && text.compare(text.size() - 2, 2, L", ") == 0;
}

// Eleven spare bytes at the end of the buffer that are never offered to
// the spooler.
constexpr std::size_t kSpareBytes = 11;

}  // namespace

std::wstring PortTypeText(std::uint32_t fPortType, SupportLibrary& support)
{
    std::wstring text;
    for (const TypePiece& piece : kTypePieces)
        if (fPortType & piece.bit)
            text += piece.text;
    if (EndsWithSeparator(text))
        text = support.CutRight(text, 2);
    if (text.empty())
        text = L"Unknown";
    return text;
}

PortList::PortList(ListViewControl& lvPorts, FormsRuntime& runtime, SupportLibrary& support, Spooler& spooler,
                   std::function<void(bool holdsRows)> holdsRows)
    : lvPorts_(lvPorts), runtime_(runtime), support_(support), spooler_(spooler), holdsRows_(std::move(holdsRows))
{
}

void PortList::RefreshPorts()
{
    holdsRows_(false);
    runtime_.SetScreenMousePointer(MousePointer::Hourglass);
    try {
        FillPortList();
        runtime_.SetScreenMousePointer(MousePointer::Default);
    } catch (...) {
        // The error goes on to the error report; the hourglass must not
        // stay behind it, not even when putting the pointer back was what
        // failed. A second failure to reset it would hide the real error.
        try {
            runtime_.SetScreenMousePointer(MousePointer::Default);
        } catch (...) {
        }
        throw;
    }
}

void PortList::UpdatePorts()
{
    const bool sorted = lvPorts_.Sorted();
    const std::int16_t sortKey = lvPorts_.SortKey();
    const std::int32_t sortOrder = lvPorts_.SortOrder();
    const auto selected = lvPorts_.SelectedItem();
    const std::wstring selectedName = selected ? selected->Text() : std::wstring();
    const std::int32_t selectedAt = selected ? ListViewFindItem(lvPorts_, selectedName) : 0;
    const std::int32_t top = lvPorts_.TopIndex();
    const std::wstring topName = top > 0 ? lvPorts_.ListItems().Item(top)->Text() : std::wstring();

    RefreshPorts();

    lvPorts_.SetSortKey(sortKey);
    lvPorts_.SetSortOrder(sortOrder);
    lvPorts_.SetSorted(sorted);
    const std::int32_t count = lvPorts_.ListItems().Count();
    if (selected && count > 0) {
        const std::int32_t found = ListViewFindItem(lvPorts_, selectedName);
        lvPorts_.ListItems().Item(found > 0 ? found : std::clamp(selectedAt, 1, count))->SetSelected(true);
    }
    if (top > 0 && count > 0) {
        const std::int32_t found = ListViewFindItem(lvPorts_, topName);
        lvPorts_.SetTopIndex(found > 0 ? found : std::min(top, count));
    }
}

void PortList::FillPortList()
{
    ListViewSortByColumn(lvPorts_, 1);
    lvPorts_.ListItems().Clear();

    const SpoolerAnswer buff = SpoolerAnswer::Fetch(
        [this](std::uint8_t* buffer, std::uint32_t size, std::int32_t& bytesNeeded, std::int32_t& returned) {
            return spooler_.EnumPortsA(buffer, size, bytesNeeded, returned);
        },
        kSpareBytes);
    if (!buff.Answered()) {
        ReportEnumFailure(buff.Error());
        return;
    }

    // A record count larger than the filled bytes can hold shows the
    // records that are whole, and no more.
    const auto shown = static_cast<std::int32_t>(
        std::min<std::size_t>(buff.Records(sizeof(PortInfo2)), std::numeric_limits<std::int32_t>::max()));
    for (std::int32_t index = 0; index < shown; ++index)
        ParsePortInfo(buff, index);

    if (lvPorts_.ListItems().Count() > 0)
        holdsRows_(true);
    ListViewAutoSizeColumns(lvPorts_, kTrue);
    ListViewSelectItem(lvPorts_, 1);
}

void PortList::ReportEnumFailure(std::uint32_t error)
{
    runtime_.MsgBox(TextWithReason(L"Can't enum ports.", error, support_), kMbOk | kMbIconError);
}

// A string outside the spooler's buffer reads as the empty text.
void PortList::ParsePortInfo(const SpoolerAnswer& buff, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= buff.WholeRecords(sizeof(PortInfo2)))
        throw Error(kErrInvalidIndex, L"The port record is outside the spooler's buffer.");

    const auto info = buff.RecordAt<PortInfo2>(static_cast<std::size_t>(index));
    const std::wstring portName = support_.StringFromAnsiPointer(buff.AnsiStringAt(info.pPortName));
    auto item = lvPorts_.ListItems().Add(portName);
    item->SetSubItem(1, support_.StringFromAnsiPointer(buff.AnsiStringAt(info.pMonitorName)));
    item->SetSubItem(2, support_.StringFromAnsiPointer(buff.AnsiStringAt(info.pDescription)));
    item->SetSubItem(3, PortTypeText(info.fPortType, support_));
}

}  // namespace dovrel
