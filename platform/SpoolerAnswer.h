#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/Spooler.h"

namespace dovrel {

// One call of an enumeration of the spooler, at a level fixed by the caller:
// the buffer (null, with size 0, for the size call), and the byte count and
// record count as the spooler leaves them.
using EnumerationCall = std::function<SpoolerResult(std::uint8_t* buffer, std::uint32_t bufferSize,
                                                    std::int32_t& bytesNeeded, std::int32_t& returned)>;

// The spooler's answer to one enumeration (ports, monitors or printers):
// the size call, then the data call into a buffer of that size, asked again
// while the list grew in between. The byte count each call leaves decides,
// not its result: no bytes after either call is no answer; a data call that
// succeeded, or left a byte count within the buffer offered, is the answer.
//
// The records lie at the start of the buffer, within the bytes filled;
// their strings may lie anywhere in the bytes offered (Windows packs them
// downwards from the end of the buffer offered, so when an entry went away
// between the two calls they lie beyond the bytes reported filled). Only
// what lies wholly inside those bounds is ever read.
class SpoolerAnswer {
public:
    // How often the data call is asked when the list grows between the
    // size call and the data call; a list that keeps growing is no answer.
    static constexpr int kMaxDataCalls = 4;

    // `spare` bytes at the end of the buffer are never offered to the spooler.
    static SpoolerAnswer Fetch(const EnumerationCall& call, std::size_t spare = 0);

    // Whether there are records to read. When not, Error() is the error
    // that the last call left (0 when it left none: a spooler with nothing
    // to list may answer the size call with no bytes and no error).
    bool Answered() const { return answered_; }
    std::uint32_t Error() const { return error_; }

    // The record count the spooler left (negative when it left one beyond
    // the signed 32-bit range), and the records that lie wholly within the
    // bytes filled, at most that many.
    std::int32_t Returned() const { return returned_; }
    std::size_t WholeRecords(std::size_t recordSize) const { return filled_ / recordSize; }
    std::size_t Records(std::size_t recordSize) const;

    // Record `index` (from 0), which must be below WholeRecords.
    template <typename Record>
    Record RecordAt(std::size_t index) const
    {
        Record record;
        std::memcpy(&record, bytes_.data() + index * sizeof(Record), sizeof record);
        return record;
    }

    // The string at an address of a record when a whole NUL-terminated
    // string starts there inside the bytes offered: the address, or the
    // text; null, or the empty text, otherwise.
    const char* AnsiStringAt(const void* address) const;
    std::wstring WideStringAt(const void* address) const;

    // The buffer, spare bytes included; how many of them were offered and
    // how many the spooler reported filling.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::size_t Offered() const { return offered_; }
    std::size_t Filled() const { return filled_; }
    // The offset of an address within the bytes offered; false outside.
    bool OffsetOf(const void* address, std::size_t& offset) const;

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t offered_ = 0;
    std::size_t filled_ = 0;
    std::int32_t returned_ = 0;
    bool answered_ = false;
    std::uint32_t error_ = 0;
};

}  // namespace dovrel
