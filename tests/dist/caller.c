/* A setup program's view: only the public header and the import library. */
#include <stdio.h>

#include "cvinstaller.h"

int main(void) {
    LONG now = GetTimeAsLong();
    int walked = KillProcessByFileName("no-such-program-4d1c.exe");
    printf("GetTimeAsLong=%ld KillProcessByFileName=%d\n", now, walked);
    return (now > 0 && walked == 1) ? 0 : 1;
}
