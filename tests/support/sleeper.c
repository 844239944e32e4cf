/* Waits until it is ended, or for the number of seconds given (default 60). */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 60;
    Sleep(seconds * 1000);
    return 7;
}
