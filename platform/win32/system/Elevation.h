#pragma once

namespace dovrel::win32 {

// Whether the program runs without an administrator's rights on a system
// whose UAC gives them to a program started as administrator (Windows Vista
// and later, UAC on): with an administrator's filtered token, or as a
// standard user, for whom the system asks for an administrator's password.
// False wherever that cannot be told.
bool RunsUnelevatedUnderUac();

// Whether the program may run with an administrator's rights: its token is
// elevated, or that cannot be told (true then). Before Vista, false.
bool MayRunElevated();

// Both alone in their file, so that a test build of the program can link
// its own (tests/e2e/limited_token.cpp).

}  // namespace dovrel::win32
