// Stands in for the demo product's prerequisite runtimes and language pack on the demo server:
// it installs nothing and reports success, so that the demo shows every kind of download and
// installation step without touching the machine.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
