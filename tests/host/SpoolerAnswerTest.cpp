#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/SpoolerAnswer.h"

namespace dovrel::test {
namespace {

constexpr std::uint32_t kInsufficientBuffer = 122;
constexpr std::uint32_t kServerUnavailable = 1722;

// A spooler whose list needs `bytes`, or grows by 64 bytes at every call
// when `grows`; its data call writes `write` into the buffer.
struct ScriptedSpooler {
    ScriptedSpooler(std::size_t needs, std::uint32_t sizeCallError = kInsufficientBuffer)
        : bytes(static_cast<std::int32_t>(needs)), sizeError(sizeCallError)
    {
    }
    std::int32_t bytes;
    std::uint32_t sizeError;
    bool grows = false;
    std::function<std::int32_t(std::uint8_t* buffer, std::uint32_t size)> write;
    int calls = 0;

    EnumerationCall Call()
    {
        return [this](std::uint8_t* buffer, std::uint32_t size, std::int32_t& needed, std::int32_t& returned) {
            ++calls;
            if (grows)
                bytes += 64;
            needed = bytes;
            returned = 0;
            if (!buffer || size < static_cast<std::uint32_t>(bytes))
                return SpoolerResult{false, buffer ? kInsufficientBuffer : sizeError};
            returned = write(buffer, size);
            return SpoolerResult{true, 0};
        };
    }
};

TEST(SpoolerAnswerTest, NoBytesOrAListThatKeepsGrowingIsNoAnswerWithTheLastCallsError)
{
    ScriptedSpooler refusing{0, kServerUnavailable};
    const SpoolerAnswer refused = SpoolerAnswer::Fetch(refusing.Call());
    EXPECT_FALSE(refused.Answered());
    EXPECT_EQ(refused.Error(), kServerUnavailable);
    EXPECT_EQ(refusing.calls, 1);

    ScriptedSpooler growing{8};
    growing.grows = true;
    const SpoolerAnswer grown = SpoolerAnswer::Fetch(growing.Call());
    EXPECT_FALSE(grown.Answered());
    EXPECT_EQ(grown.Error(), kInsufficientBuffer);
    EXPECT_EQ(growing.calls, 1 + SpoolerAnswer::kMaxDataCalls);
}

// Records of one address each: a string inside the bytes offered, one
// outside them, one that runs to the end unterminated, one misaligned for
// wide text. Spare bytes are never offered, so never read.
TEST(SpoolerAnswerTest, OnlyStringsWhollyInsideTheBytesOfferedAreRead)
{
    static const char elsewhere[] = "elsewhere";
    ScriptedSpooler spooler{4 * sizeof(void*) + 12};
    spooler.write = [](std::uint8_t* buffer, std::uint32_t size) {
        auto* text = buffer + 4 * sizeof(void*);
        std::memcpy(text, "LPT1:\0\0\0XYZW", 12);  // "XYZW" has no end inside the bytes offered
        const void* records[4] = {text, elsewhere, text + 8, text + 1};
        std::memcpy(buffer, records, sizeof records);
        std::memset(buffer + size, 'Q', 5);  // the spare bytes
        return 4;
    };
    const SpoolerAnswer answer = SpoolerAnswer::Fetch(spooler.Call(), 5);
    ASSERT_TRUE(answer.Answered());
    ASSERT_EQ(answer.Records(sizeof(void*)), 4u);
    EXPECT_STREQ(answer.AnsiStringAt(answer.RecordAt<const void*>(0)), "LPT1:");
    EXPECT_EQ(answer.AnsiStringAt(answer.RecordAt<const void*>(1)), nullptr);
    EXPECT_EQ(answer.AnsiStringAt(answer.RecordAt<const void*>(2)), nullptr);
    EXPECT_EQ(answer.WideStringAt(answer.RecordAt<const void*>(3)), L"");
    EXPECT_EQ(answer.Bytes().size(), answer.Offered() + 5);
}

}  // namespace
}  // namespace dovrel::test
