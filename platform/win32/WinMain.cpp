// Placeholder start-up until the port window exists.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Dovrel: the port window is not built yet.", L"Orvane - Dovrel", MB_OK | MB_ICONINFORMATION);
    return 0;
}
