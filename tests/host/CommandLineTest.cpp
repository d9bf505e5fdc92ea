#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace dovrel::test {
namespace {

// The program's name ends as Windows reads it: at the closing quote, or at
// the first blank or tab; the arguments after it stay as written.
TEST(CommandLineTest, TheArgumentsAreWhatFollowsTheProgramsName)
{
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Dovrel.exe\"  \\\\server \"a b\"\t"), L"\\\\server \"a b\"\t");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\x y\\Dovrel.exe\"next"), L"next");
    EXPECT_EQ(ArgumentsOf(L"C:\\Dovrel\\Dovrel.exe\t one"), L"one");
    EXPECT_EQ(ArgumentsOf(L"Dovrel.exe"), L"");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\unclosed Dovrel.exe"), L"");
}

}  // namespace
}  // namespace dovrel::test
