#include "platform/PlacementRecord.h"

#include <algorithm>

#include "platform/Twips.h"

namespace dovrel {

namespace {

constexpr std::uint32_t kTag = 0x4C505644;  // "DVPL" in the first four bytes

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

std::vector<std::uint8_t> EncodePlacement(const PlacementRecord& record)
{
    const bool withResolution = record.dpi != 0;
    std::vector<std::uint8_t> bytes(withResolution ? kPlacementBytes : kPlacementBytesV1);
    const std::uint32_t words[] = {kTag,
                                   withResolution ? 2u : 1u,
                                   static_cast<std::uint32_t>(record.left),
                                   static_cast<std::uint32_t>(record.top),
                                   static_cast<std::uint32_t>(record.right),
                                   static_cast<std::uint32_t>(record.bottom),
                                   record.showCmd,
                                   static_cast<std::uint32_t>(record.dpi),
                                   static_cast<std::uint32_t>(record.clientWidth),
                                   static_cast<std::uint32_t>(record.clientHeight)};
    for (std::size_t i = 0; i < bytes.size() / 4; ++i)
        PutUint32(&bytes[4 * i], words[i]);
    return bytes;
}

std::optional<PlacementRecord> DecodePlacement(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < 8 || GetUint32(data) != kTag)
        return std::nullopt;
    const std::uint32_t version = GetUint32(data + 4);
    if (!(version == 1 && size == kPlacementBytesV1) && !(version == 2 && size == kPlacementBytes))
        return std::nullopt;

    PlacementRecord record;
    record.left = ToSigned(GetUint32(data + 8));
    record.top = ToSigned(GetUint32(data + 12));
    record.right = ToSigned(GetUint32(data + 16));
    record.bottom = ToSigned(GetUint32(data + 20));
    record.showCmd = GetUint32(data + 24);
    if (version == 2) {
        record.dpi = ToSigned(GetUint32(data + 28));
        record.clientWidth = ToSigned(GetUint32(data + 32));
        record.clientHeight = ToSigned(GetUint32(data + 36));
    }

    // A window closed minimised or maximised comes back at its normal
    // rectangle; any other state is no state the program saves.
    if (record.showCmd != kShowNormal && record.showCmd != kShowMinimized && record.showCmd != kShowMaximized)
        return std::nullopt;
    if (!WithinLimits(record.left) || !WithinLimits(record.top) || !WithinLimits(record.right) ||
        !WithinLimits(record.bottom))
        return std::nullopt;
    if (record.right <= record.left || record.bottom <= record.top)
        return std::nullopt;
    if (version == 2 && (record.dpi < 1 || record.dpi > kMaxPlacementDpi || record.clientWidth <= 0 ||
                         record.clientHeight <= 0 || record.clientWidth > record.right - record.left ||
                         record.clientHeight > record.bottom - record.top))
        return std::nullopt;
    return record;
}

PixelRect RestoredRectangle(const PlacementRecord& stored, int dpi, int frameWidth, int frameHeight)
{
    if (stored.dpi <= 0 || stored.dpi == dpi)
        return {stored.left, stored.top, stored.right, stored.bottom};
    const int width = RescalePixels(stored.clientWidth, stored.dpi, dpi) + frameWidth;
    const int height = RescalePixels(stored.clientHeight, stored.dpi, dpi) + frameHeight;
    return {stored.left, stored.top, stored.left + width, stored.top + height};
}

PixelRect FittedIntoWorkArea(const PixelRect& rect, const PixelRect& work)
{
    const int width = std::min(rect.right - rect.left, work.right - work.left);
    const int height = std::min(rect.bottom - rect.top, work.bottom - work.top);
    const int left = std::max(work.left, std::min(rect.left, work.right - width));
    const int top = std::max(work.top, std::min(rect.top, work.bottom - height));
    return {left, top, left + width, top + height};
}

}  // namespace dovrel
