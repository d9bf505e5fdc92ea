#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dovrel::win32 {

// One level-1 enumeration of the local spooler (ports or monitors, whose
// records hold one string address each): the buffer, its size, and where
// the bytes needed and the record count go.
using Level1Enumeration = std::function<BOOL(LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)>;

// The names an enumeration lists, or the reason it could not list them.
struct SpoolerNames {
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
    bool Listed() const { return error == ERROR_SUCCESS; }
};

// How often the data call is repeated when the list grew between the size
// call and the data call; a list that keeps growing is refused.
constexpr int kMaxNameAttempts = 4;

// Asks for the size, then for the records. Only whole records inside the
// bytes the spooler filled are read, and a name only when it starts inside
// the buffer and ends there; any other reads as the empty text.
SpoolerNames NamesAtLevel1(const Level1Enumeration& enumerate);

}  // namespace dovrel::win32
