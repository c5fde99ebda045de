// Loads each DLL named on the command line by its plain name, as a program that trusts the
// default search order does (a static import is resolved the same way). Exit code: how many
// were loaded. The planting test shows with it that a planted DLL is picked up that way.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    int loaded = 0;
    for (int i = 1; i < argc; ++i)
        if (::LoadLibraryW(argv[i]))
            ++loaded;
    return loaded;
}
