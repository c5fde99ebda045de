#pragma once
// No exception may cross a window procedure, a thread entry or a callback the system calls
// (Windows Installer's, a hook's): the stack above is not ours to unwind. GuardedCall runs a
// function at such a boundary and reports what it threw, and where, on the diagnostic channel.
//
//   DWORD WINAPI WorkerEntry(void* context) {
//       return nvx::GuardedCall("WorkerEntry", [&] { return RunSequence(context); }, DWORD{1});
//   }
#include <windows.h>

#include <type_traits>

namespace nvx {

// Where a guard stands: the function, and for window procedures the message being handled.
struct GuardSite {
    GuardSite(const char* function) noexcept : function(function) {}
    GuardSite(const char* function, UINT message) noexcept
        : function(function), message(message), has_message(true) {}
    const char* function;
    UINT message = 0;
    bool has_message = false;
};

// Reports the exception being handled; call it only inside a catch block.
void ReportCurrentException(const GuardSite& site) noexcept;

// Runs a function that returns nothing; an exception is reported and goes no further.
template <typename Function>
requires std::is_void_v<std::invoke_result_t<Function&>>
void GuardedCall(const GuardSite& site, Function&& function) noexcept {
    try {
        function();
    } catch (...) {
        ReportCurrentException(site);
    }
}

// Runs a function and answers its result, or `on_exception` when it threw.
template <typename Function, typename Result = std::invoke_result_t<Function&>>
requires(!std::is_void_v<Result>) Result GuardedCall(const GuardSite& site, Function&& function,
                                                     std::type_identity_t<Result> on_exception = Result{})
noexcept {
    try {
        return function();
    } catch (...) {
        ReportCurrentException(site);
    }
    return on_exception;
}

} // namespace nvx
