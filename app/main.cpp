#include "framework/SystemLibrary.h"
#include "framework/WinApp.h"

namespace {

// The installer runs elevated from a Downloads folder, where anyone may have left a DLL named
// like a system one. The program statically imports only KnownDLLs, which the loader never
// takes from the program's folder; every later load, ours and those the system's own DLLs make,
// is restricted to the system folder before anything else of the program runs. That is before
// wWinMain: the static objects are constructed first (the application object opens the WinINet
// session), so the restriction is a static object of its own with the earliest priority the
// compiler allows for program code.
struct CDllSearchRestriction {
    CDllSearchRestriction() noexcept { nvx::RestrictDllSearchToSystemFolder(); }
};
__attribute__((init_priority(101))) const CDllSearchRestriction dll_search_restriction;

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return AfxWinMain(instance);
}
