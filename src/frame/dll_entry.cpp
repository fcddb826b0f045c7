// The module entry of the DLLs: it reports success and does nothing else.
// The library initialises nothing at load time; its state starts from
// static data.
#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI TwineKitEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
