/* The yardstick for what one load and unload may cost: a plain C library
 * with one export and no C++ runtime. */
#include <windows.h>

__declspec(dllexport) LONG PlainTime(void) { return (LONG)GetTickCount(); }
