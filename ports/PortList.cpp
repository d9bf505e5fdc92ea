#include "ports/PortList.h"

#include <algorithm>
#include <cstring>
#include <limits>

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

std::vector<std::uint8_t> BufferFor(std::int32_t byteCount)
{
    // Eleven spare bytes at the end that are never offered to the spooler.
    return std::vector<std::uint8_t>(static_cast<std::size_t>(byteCount) + 11, 0);
}

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

PortList::PortList(ListViewControl& lvPorts, CommandButton& cmdDelete, CommandButton& cmdSettings,
                   FormsRuntime& runtime, SupportLibrary& support, Spooler& spooler)
    : lvPorts_(lvPorts), cmdDelete_(cmdDelete), cmdSettings_(cmdSettings), runtime_(runtime), support_(support),
      spooler_(spooler)
{
}

void PortList::RefreshPorts()
{
    cmdDelete_.SetEnabled(false);
    cmdSettings_.SetEnabled(false);
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

    PortBuffer buff;
    std::int32_t records = 0;
    std::uint32_t error = 0;
    if (!EnumeratePorts(buff, records, error)) {
        ReportEnumFailure(error);
        return;
    }

    // A record count larger than the filled bytes can hold shows the
    // records that are whole, and no more.
    const auto whole = static_cast<std::int32_t>(
        std::min<std::size_t>(buff.WholeRecords(), static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
    const std::int32_t shown = std::min(records, whole);
    for (std::int32_t index = 0; index < shown; ++index)
        ParsePortInfo(buff, index);

    if (lvPorts_.ListItems().Count() > 0) {
        cmdDelete_.SetEnabled(true);
        cmdSettings_.SetEnabled(true);
    }
    ListViewAutoSizeColumns(lvPorts_, kTrue);
    ListViewSelectItem(lvPorts_, 1);
}

// Asks the spooler for the size, then for the records. False, with the
// error the last call left, when the spooler reports no bytes, or when the
// ports keep growing faster than the buffer can follow.
bool PortList::EnumeratePorts(PortBuffer& buff, std::int32_t& records, std::uint32_t& error)
{
    std::int32_t bytes = 0;
    records = 0;
    // The result says nothing the byte count does not; its error says why
    // there are no bytes.
    error = spooler_.EnumPortsA(nullptr, 0, bytes, records).error;
    if (bytes <= 0)
        return false;

    for (int attempt = 1;; ++attempt) {
        buff.bytes = BufferFor(bytes);
        const auto offered = static_cast<std::uint32_t>(bytes);
        records = 0;
        const SpoolerResult answer = spooler_.EnumPortsA(buff.bytes.data(), offered, bytes, records);
        error = answer.done ? 0 : answer.error;
        if (bytes <= 0)
            return false;
        if (answer.done || static_cast<std::uint32_t>(bytes) <= offered) {
            buff.offered = offered;
            buff.filled = std::min(static_cast<std::size_t>(bytes), static_cast<std::size_t>(offered));
            return true;
        }
        // Ports were added between the two calls and the buffer is too small
        // for them now: ask again with the new size.
        if (attempt == kMaxEnumAttempts)
            return false;
    }
}

void PortList::ReportEnumFailure(std::uint32_t error)
{
    runtime_.MsgBox(TextWithReason(L"Can't enum ports.", error, support_), kMbOk | kMbIconError);
}

void PortList::ParsePortInfo(const PortBuffer& buff, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= buff.WholeRecords())
        throw Error(kErrInvalidIndex, L"The port record is outside the spooler's buffer.");

    PortInfo2 info;
    std::memcpy(&info, buff.bytes.data() + static_cast<std::size_t>(index) * sizeof(PortInfo2), sizeof info);

    const std::wstring portName = support_.StringFromAnsiPointer(StringInBuffer(buff, info.pPortName));
    auto item = lvPorts_.ListItems().Add(portName);
    item->SetSubItem(1, support_.StringFromAnsiPointer(StringInBuffer(buff, info.pMonitorName)));
    item->SetSubItem(2, support_.StringFromAnsiPointer(StringInBuffer(buff, info.pDescription)));
    item->SetSubItem(3, PortTypeText(info.fPortType, support_));
}

// The address when a whole NUL-terminated string starts there inside the
// bytes offered to the spooler; null otherwise, which reads as the empty text.
const char* PortList::StringInBuffer(const PortBuffer& buff, const char* address) const
{
    const std::size_t bound = std::min(buff.offered, buff.bytes.size());
    const auto begin = reinterpret_cast<std::uintptr_t>(buff.bytes.data());
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    if (address == nullptr || at < begin || at >= begin + bound)
        return nullptr;
    const std::size_t offset = at - begin;
    const void* end = std::memchr(buff.bytes.data() + offset, '\0', bound - offset);
    return end ? reinterpret_cast<const char*>(buff.bytes.data() + offset) : nullptr;
}

}  // namespace dovrel
