#include "platform/SpoolerAnswer.h"

#include <algorithm>

namespace dovrel {

SpoolerAnswer SpoolerAnswer::Fetch(const EnumerationCall& call, std::size_t spare)
{
    SpoolerAnswer answer;
    std::int32_t bytes = 0;
    std::int32_t records = 0;
    // The size call's result says nothing its byte count does not; its
    // error says why there are no bytes.
    answer.error_ = call(nullptr, 0, bytes, records).error;
    for (int dataCall = 1; bytes > 0 && dataCall <= kMaxDataCalls; ++dataCall) {
        const auto offered = static_cast<std::uint32_t>(bytes);
        answer.bytes_.assign(offered + spare, 0);
        records = 0;
        const SpoolerResult result = call(answer.bytes_.data(), offered, bytes, records);
        answer.error_ = result.done ? 0 : result.error;
        if (bytes > 0 && (result.done || static_cast<std::uint32_t>(bytes) <= offered)) {
            answer.answered_ = true;
            answer.offered_ = offered;
            answer.filled_ = std::min<std::size_t>(static_cast<std::uint32_t>(bytes), offered);
            answer.returned_ = records;
            return answer;
        }
        // Otherwise the list grew between the calls and the buffer is too
        // small for it now: asked again with the new size.
    }
    answer.bytes_.clear();
    return answer;
}

std::size_t SpoolerAnswer::Records(std::size_t recordSize) const
{
    if (returned_ <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(returned_), WholeRecords(recordSize));
}

bool SpoolerAnswer::OffsetOf(const void* address, std::size_t& offset) const
{
    const std::size_t bound = std::min(offered_, bytes_.size());
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes_.data());
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    if (address == nullptr || at < begin || at >= begin + bound)
        return false;
    offset = at - begin;
    return true;
}

const char* SpoolerAnswer::AnsiStringAt(const void* address) const
{
    std::size_t offset = 0;
    if (!OffsetOf(address, offset))
        return nullptr;
    const std::size_t bound = std::min(offered_, bytes_.size());
    const void* end = std::memchr(bytes_.data() + offset, '\0', bound - offset);
    return end ? reinterpret_cast<const char*>(bytes_.data() + offset) : nullptr;
}

std::wstring SpoolerAnswer::WideStringAt(const void* address) const
{
    std::size_t offset = 0;
    if (!OffsetOf(address, offset) || offset % sizeof(wchar_t) != 0)
        return std::wstring();
    const std::size_t bound = std::min(offered_, bytes_.size());
    std::wstring text;
    for (; offset + sizeof(wchar_t) <= bound; offset += sizeof(wchar_t)) {
        wchar_t character;
        std::memcpy(&character, bytes_.data() + offset, sizeof character);
        if (character == L'\0')
            return text;
        text += character;
    }
    return std::wstring();
}

}  // namespace dovrel
