#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return AfxWinMain(instance);
}
