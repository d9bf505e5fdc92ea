#include "platform/PlacementRecord.h"

namespace dovrel {

namespace {

constexpr std::uint32_t kTag = 0x4C505644;  // "DVPL" in the first four bytes
constexpr std::uint32_t kVersion = 1;

// Beyond what any window system positions a window at.
constexpr std::int32_t kCoordinateLimit = 32767;

void PutUint32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetUint32(const std::uint8_t* at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

// The stored word read as two's complement, without relying on how the
// compiler converts an out-of-range unsigned value.
std::int32_t ToSigned(std::uint32_t value)
{
    return value > 0x7FFFFFFFu ? static_cast<std::int32_t>(static_cast<std::int64_t>(value) - 0x100000000)
                               : static_cast<std::int32_t>(value);
}

bool WithinLimits(std::int32_t coordinate)
{
    return coordinate >= -kCoordinateLimit && coordinate <= kCoordinateLimit;
}

}  // namespace

PlacementBytes EncodePlacement(const PlacementRecord& record)
{
    PlacementBytes bytes{};
    PutUint32(&bytes[0], kTag);
    PutUint32(&bytes[4], kVersion);
    PutUint32(&bytes[8], static_cast<std::uint32_t>(record.left));
    PutUint32(&bytes[12], static_cast<std::uint32_t>(record.top));
    PutUint32(&bytes[16], static_cast<std::uint32_t>(record.right));
    PutUint32(&bytes[20], static_cast<std::uint32_t>(record.bottom));
    PutUint32(&bytes[24], record.showCmd);
    return bytes;
}

std::optional<PlacementRecord> DecodePlacement(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size != kPlacementBytes)
        return std::nullopt;
    if (GetUint32(data) != kTag || GetUint32(data + 4) != kVersion)
        return std::nullopt;

    PlacementRecord record;
    record.left = ToSigned(GetUint32(data + 8));
    record.top = ToSigned(GetUint32(data + 12));
    record.right = ToSigned(GetUint32(data + 16));
    record.bottom = ToSigned(GetUint32(data + 20));
    record.showCmd = GetUint32(data + 24);

    // Only a window saved in its normal state comes back there: one saved
    // minimised or maximised (which the user cannot do through the window's
    // frame) opens centred, like any other placement the program did not
    // leave itself.
    if (record.showCmd != kShowNormal)
        return std::nullopt;
    if (!WithinLimits(record.left) || !WithinLimits(record.top) || !WithinLimits(record.right) ||
        !WithinLimits(record.bottom))
        return std::nullopt;
    if (record.right <= record.left || record.bottom <= record.top)
        return std::nullopt;
    return record;
}

}  // namespace dovrel
