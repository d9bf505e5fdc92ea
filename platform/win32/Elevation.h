#pragma once

namespace dovrel::win32 {

// Whether the program runs without an administrator's rights on a system
// whose UAC gives them to a program started as administrator (Windows Vista
// and later, UAC on): with an administrator's filtered token, or as a
// standard user, for whom the system asks for an administrator's password.
// False wherever that cannot be told. Alone in its file, so that a test
// build of the program can link its own (tests/e2e/limited_token.cpp).
bool RunsUnelevatedUnderUac();

}  // namespace dovrel::win32
