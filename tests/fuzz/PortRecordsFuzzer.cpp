// Fuzz target: PortList::RefreshPorts against a spooler whose answers come
// from the input. Every address the refresh hands to StringFromAnsiPointer
// must be null or a whole NUL-terminated string inside the bytes the program
// offered the spooler (which may have put strings beyond the bytes it
// reported filling, as Windows' does); anything else stops the run.
//
// The input, numbers little-endian, bytes past its end read as 0:
//   uint8   list: from 0x80 up, the list refuses to add row (list & 0x7F) + 1
//   then one answer per EnumPortsA call, in the order the calls come:
//   int32   byte count; a positive one is taken modulo kMaxAnswerBytes + 1
//   int32   record count
//   uint8   bit 0: what the call returns
//   a call with a buffer (a data call) goes on with:
//   uint8   k, then k records laid out at the start of the buffer as the
//           host's PortInfo2 (those that fit): three address descriptors
//           and the type, uint32 each
//   uint16  n, then n bytes written at the start of the buffer before the
//           records (as many as fit; the buffer keeps the rest as it was)
//
// An address descriptor d says where a record's string address points:
//   d & 3 == 0  null
//   d & 3 == 1  the buffer + (d >> 2) modulo (buffer size + 16): anywhere in
//               it, filled or not, or up to 16 bytes past it
//   d & 3 == 2  8 bytes before the end of the reported bytes + (d >> 2) % 16
//   d & 3 == 3  elsewhere, by (d >> 2) & 3: just before the buffer; in the
//               buffer of the previous data call (freed by then); a string
//               outside every buffer; the arbitrary address (d >> 4) << 4
// The fake spooler never reads through these addresses itself.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/Spooler.h"
#include "platform/SpoolerAnswer.h"
#include "platform/SupportLibrary.h"
#include "ports/PortList.h"
#include "tests/fuzz/LeanFakes.h"

namespace dovrel::fuzz {

namespace {

// Larger answers only make the refresh slower; they take no other path.
constexpr std::int32_t kMaxAnswerBytes = 8 * 1024;
constexpr std::size_t kPastTheEnd = 16;

const char kElsewhere[] = "a string outside the spooler's buffer";

class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte()
    {
        const std::uint8_t value = at_ < size_ ? data_[at_] : 0;
        ++at_;
        return value;
    }
    std::uint32_t Uint(int bytes)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return value;
    }
    std::int32_t Int32()
    {
        const std::uint32_t value = Uint(4);
        return value > 0x7FFFFFFFu ? static_cast<std::int32_t>(static_cast<std::int64_t>(value) - 0x100000000)
                                   : static_cast<std::int32_t>(value);
    }
    // Takes count bytes of the input and writes those there are, up to room.
    void CopyTo(std::uint8_t* to, std::size_t count, std::size_t room)
    {
        const std::size_t left = at_ < size_ ? size_ - at_ : 0;
        const std::size_t copied = std::min({count, room, left});
        if (copied > 0)
            std::memcpy(to, data_ + at_, copied);
        at_ += count;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Answer {
    std::int32_t bytes = 0;
    std::int32_t records = 0;
    bool result = false;
};

class FuzzSpooler final : public Spooler {
public:
    explicit FuzzSpooler(InputReader& input) : input_(input) {}

    SpoolerResult EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned) override
    {
        // One size call and a bounded number of data calls: the refresh must
        // give up on ports that keep growing.
        if (++calls_ > 1 + SpoolerAnswer::kMaxDataCalls)
            Fault();
        if (buffer == nullptr && bufferSize != 0)
            Fault();

        Answer answer;
        answer.bytes = Bounded(input_.Int32());
        answer.records = input_.Int32();
        answer.result = (input_.Byte() & 1) != 0;

        filledBegin_ = buffer;
        filledSize_ = 0;
        offeredSize_ = buffer != nullptr ? bufferSize : 0;
        lastRecords_ = answer.records;
        if (buffer != nullptr) {
            filledSize_ = ReportedFilling(answer, bufferSize);
            Fill(buffer, bufferSize);
            previousBuffer_ = reinterpret_cast<std::uintptr_t>(buffer);
        }
        bytesNeeded = answer.bytes;
        returned = answer.records;
        return {answer.result, 0};
    }
    SpoolerResult AddPortA(WindowHandle, const std::wstring&) override { Fault(); }
    SpoolerResult DeletePortW(WindowHandle, const std::wstring&) override { Fault(); }
    SpoolerResult ConfigurePortW(WindowHandle, const std::wstring&) override { Fault(); }
    std::vector<std::wstring> PrintersUsingPort(const std::wstring&) override { Fault(); }

    // The buffer of the last call, what it reported filling and what it was
    // offered: nothing after a size call.
    const std::uint8_t* FilledBegin() const { return filledBegin_; }
    std::size_t OfferedSize() const { return offeredSize_; }
    // The rows the last answer allows for: its records that lie wholly in
    // the bytes it reported filling.
    std::size_t RowsAnswered() const
    {
        if (lastRecords_ <= 0)
            return 0;
        return std::min(static_cast<std::size_t>(lastRecords_), filledSize_ / sizeof(PortInfo2));
    }

private:
    static std::int32_t Bounded(std::int32_t bytes) { return bytes > 0 ? bytes % (kMaxAnswerBytes + 1) : bytes; }

    // A spooler fills at most the bytes it was offered. A failed call that
    // asks for more than that is the answer "buffer too small": it filled
    // nothing.
    static std::size_t ReportedFilling(const Answer& answer, std::uint32_t offered)
    {
        if (answer.bytes <= 0 || (!answer.result && static_cast<std::uint32_t>(answer.bytes) > offered))
            return 0;
        return std::min<std::size_t>(static_cast<std::size_t>(answer.bytes), offered);
    }

    void Fill(std::uint8_t* buffer, std::uint32_t offered)
    {
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
        std::vector<PortInfo2> records(input_.Byte());
        for (PortInfo2& record : records) {
            record.pPortName = AddressFor(input_.Uint(4), begin, offered);
            record.pMonitorName = AddressFor(input_.Uint(4), begin, offered);
            record.pDescription = AddressFor(input_.Uint(4), begin, offered);
            record.fPortType = input_.Uint(4);
            record.Reserved = 0;
        }
        input_.CopyTo(buffer, input_.Uint(2), offered);
        for (std::size_t i = 0; i < records.size() && (i + 1) * sizeof(PortInfo2) <= offered; ++i)
            std::memcpy(buffer + i * sizeof(PortInfo2), &records[i], sizeof(PortInfo2));
    }

    const char* AddressFor(std::uint32_t descriptor, std::uintptr_t begin, std::uint32_t offered) const
    {
        const std::uint32_t value = descriptor >> 2;
        std::uintptr_t address = 0;
        switch (descriptor & 3) {
        case 0:
            break;
        case 1:
            address = begin + value % (offered + kPastTheEnd);
            break;
        case 2:
            address = begin + filledSize_ - 8 + value % 16;
            break;
        default:
            address = Elsewhere(value, begin);
            break;
        }
        return reinterpret_cast<const char*>(address);
    }

    std::uintptr_t Elsewhere(std::uint32_t value, std::uintptr_t begin) const
    {
        const std::uint32_t offset = value >> 2;
        switch (value & 3) {
        case 0:
            return begin - 1 - offset % 64;
        case 1:
            return (previousBuffer_ != 0 ? previousBuffer_ : 0x10000) + offset % 64;
        case 2:
            return reinterpret_cast<std::uintptr_t>(kElsewhere) + offset % sizeof(kElsewhere);
        default:
            return static_cast<std::uintptr_t>(offset) << 4;
        }
    }

    InputReader& input_;
    int calls_ = 0;
    const std::uint8_t* filledBegin_ = nullptr;
    std::size_t filledSize_ = 0;
    std::size_t offeredSize_ = 0;
    std::int32_t lastRecords_ = 0;
    std::uintptr_t previousBuffer_ = 0;
};

// The support library's text functions; the refresh needs nothing else.
class CheckingSupport final : public SupportLibrary {
public:
    explicit CheckingSupport(const FuzzSpooler& spooler) : spooler_(spooler) {}

    std::wstring StringFromAnsiPointer(const char* address) override
    {
        if (address == nullptr)
            return L"";
        const auto begin = reinterpret_cast<std::uintptr_t>(spooler_.FilledBegin());
        const auto at = reinterpret_cast<std::uintptr_t>(address);
        if (begin == 0 || at < begin || at - begin >= spooler_.OfferedSize())
            Fault();
        const std::size_t room = spooler_.OfferedSize() - (at - begin);
        const auto* end = static_cast<const char*>(std::memchr(address, '\0', room));
        if (end == nullptr)
            Fault();
        std::wstring text;
        for (const char* c = address; c != end; ++c)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
        return text;
    }
    std::wstring CutRight(const std::wstring& text, std::int32_t count) override
    {
        if (count < 0)
            throw Error(kErrInvalidProcedureCall, L"Invalid procedure call or argument");
        return text.substr(0, text.size() - std::min(text.size(), static_cast<std::size_t>(count)));
    }

    long RegisterAppPath() override { Fault(); }
    bool IsInDesignEnvironment() override { Fault(); }
    WindowHandle GetRuntimeMainWindow() override { Fault(); }
    void SetWindowIconFromResource(WindowHandle, const std::wstring&) override { Fault(); }
    long FixContainerWindows() override { Fault(); }
    long CenterForm(WindowHandle, std::int32_t) override { Fault(); }
    long OpenReadMe(std::int32_t) override { Fault(); }
    std::unique_ptr<PlacementStore> CreatePlacementStore() override { Fault(); }
    std::unique_ptr<FormServices> CreateFormServices() override { Fault(); }
    bool SaveFile(const std::wstring&, const std::string&, std::wstring&) override { Fault(); }
    std::wstring ErrorText(std::uint32_t) override { return L"reason"; }
    bool CanStartAsAdministrator() override { Fault(); }
    std::uint32_t StartAsAdministrator(WindowHandle) override { Fault(); }
    std::uint32_t StartForServer(const std::wstring&) override { Fault(); }

private:
    const FuzzSpooler& spooler_;
};

struct Window {
    LeanListView lvPorts;
    LeanButton cmdDelete;
    LeanButton cmdSettings;
    LeanRuntime runtime;
};

bool ButtonsEnabled(const Window& window) { return window.cmdDelete.enabled && window.cmdSettings.enabled; }
bool ButtonsDisabled(const Window& window) { return !window.cmdDelete.enabled && !window.cmdSettings.enabled; }

// What a refresh leaves behind, whatever the spooler answered.
void CheckOutcome(const Window& window, const FuzzSpooler& spooler, bool raised)
{
    if (window.runtime.pointer != MousePointer::Default)
        Fault();
    const std::size_t rows = window.lvPorts.rows.size();
    if (raised) {
        // The list's refusal is the only error this set-up raises: the
        // spooler's answer, however odd, must not make the refresh raise one.
        if (window.lvPorts.refuseAdd == 0 || rows != window.lvPorts.refuseAdd - 1 || !ButtonsDisabled(window))
            Fault();
        return;
    }
    if (window.runtime.messageBoxes > 1)
        Fault();
    if (window.runtime.messageBoxes == 1) {
        if (rows != 0 || !ButtonsDisabled(window))
            Fault();
        return;
    }
    if (rows != spooler.RowsAnswered() || ButtonsEnabled(window) != (rows > 0))
        Fault();
    for (const auto& row : window.lvPorts.rows)
        if (row.subItems.size() != 3 || row.subItems[2].empty())
            Fault();
}

}  // namespace

}  // namespace dovrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dovrel;
    using namespace dovrel::fuzz;

    InputReader input(data, size);
    Window window;
    const std::uint8_t list = input.Byte();
    window.lvPorts.refuseAdd = list >= 0x80 ? (list & 0x7Fu) + 1 : 0;
    window.lvPorts.rows.push_back({L"a row of an earlier refresh", {}, false});
    window.cmdDelete.enabled = window.cmdSettings.enabled = true;

    FuzzSpooler spooler(input);
    CheckingSupport support(spooler);
    PortList ports(window.lvPorts, window.runtime, support, spooler,
                   [&window](bool holdsRows) { window.cmdDelete.enabled = window.cmdSettings.enabled = holdsRows; });
    bool raised = false;
    try {
        ports.RefreshPorts();
    } catch (const Error&) {
        raised = true;
    }
    CheckOutcome(window, spooler, raised);
    return 0;
}
