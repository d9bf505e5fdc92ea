// Dovrel.exe as an administrator under UAC starts it the ordinary way, with
// a filtered token: linked in place of the program's look at its token,
// which Wine always reports elevated, so that a command refused for want of
// rights offers the restart as administrator.
#include "platform/win32/system/Elevation.h"

namespace dovrel::win32 {

bool RunsUnelevatedUnderUac()
{
    return true;
}

bool MayRunElevated()
{
    return false;
}

}  // namespace dovrel::win32
