// Fuzz target: DecodePlacement on the bytes of a registry value. Whatever it
// accepts must be a placement the window can take as it is, and must encode
// back to exactly the bytes it came from.

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/PlacementRecord.h"

namespace {

[[noreturn]] void Fault() { __builtin_trap(); }

bool WithinLimits(std::int32_t coordinate) { return coordinate >= -32767 && coordinate <= 32767; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dovrel;

    const std::optional<PlacementRecord> record = DecodePlacement(data, size);
    if (!record)
        return 0;
    if (record->showCmd < kShowNormal || record->showCmd > kShowMaximized || record->right <= record->left ||
        record->bottom <= record->top)
        Fault();
    if (size == kPlacementBytes &&
        (record->dpi < 1 || record->dpi > kMaxPlacementDpi || record->clientWidth <= 0 || record->clientHeight <= 0 ||
         record->clientWidth > record->right - record->left || record->clientHeight > record->bottom - record->top))
        Fault();
    for (const std::int32_t coordinate : {record->left, record->top, record->right, record->bottom})
        if (!WithinLimits(coordinate))
            Fault();
    const std::vector<std::uint8_t> encoded = EncodePlacement(*record);
    if (size != encoded.size() || std::memcmp(encoded.data(), data, size) != 0)
        Fault();
    return 0;
}
