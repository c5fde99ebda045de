#pragma once
// System DLLs that are not KnownDLLs, loaded at run time from the system folder only.
//
// The installer is started from a Downloads folder and runs elevated. Windows looks for a DLL
// that is not a KnownDLL in the program's own folder first, so a static import of, say,
// wininet.dll would load whatever file of that name sits beside the installer. The executable
// therefore imports only KnownDLLs; every other system DLL is loaded through this layer, with
// one small file of typed entry points per DLL (WinInet.h, Msi.h, Direct2D.h,
// DirectWrite.h). A missing DLL or entry point makes the call fail cleanly with an error (the
// thread's last error, or the code the function returns), never a crash.
#include <windows.h>

#include <utility>

namespace nvx {

// Restricts the DLL search of the whole process to the system folder, for every later load
// (also the dependencies of DLLs). Called first thing when the process starts.
bool RestrictDllSearchToSystemFolder() noexcept;

// Owner of a DLL loaded from the system folder (never from the program's folder, the current
// folder or PATH). Frees it on destruction.
class CSystemLibrary {
public:
    explicit CSystemLibrary(const wchar_t* file_name) noexcept;
    ~CSystemLibrary();
    CSystemLibrary(const CSystemLibrary&) = delete;
    CSystemLibrary& operator=(const CSystemLibrary&) = delete;

    HMODULE get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }
    // Why the load failed (ERROR_MOD_NOT_FOUND, ...); ERROR_SUCCESS when it is loaded.
    DWORD load_error() const noexcept { return load_error_; }

    // An exported function by name, typed as Function; null when the library or the entry
    // point is missing.
    template <typename Function> Function* Find(const char* name) const noexcept {
        // Through the generic function pointer type, which converts to any other without a warning.
        return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(FindAddress(name)));
    }

private:
    FARPROC FindAddress(const char* name) const noexcept;

    HMODULE module_ = nullptr;
    DWORD load_error_ = ERROR_SUCCESS;
};

// One entry point of a library, resolved once.
template <typename Function> class CSystemEntry;

template <typename Result, typename... Args> class CSystemEntry<Result(Args...)> {
public:
    CSystemEntry(const CSystemLibrary& library, const char* name) noexcept
        : function_(library.Find<Result(Args...)>(name)), error_(MissingError(library, function_)) {}

    explicit operator bool() const noexcept { return function_ != nullptr; }
    // Why the entry point is missing (the library's load error or ERROR_PROC_NOT_FOUND).
    DWORD error() const noexcept { return error_; }

    // Calls the function; when it is missing, sets the thread's last error to error() and
    // answers `failure` instead.
    template <typename Failure, typename... Passed> Result CallOr(Failure failure, Passed&&... args) const {
        if (function_)
            return function_(std::forward<Passed>(args)...);
        ::SetLastError(error_);
        return static_cast<Result>(failure);
    }
    // The same for a function without a result: nothing happens when it is missing.
    template <typename... Passed> void CallIfPresent(Passed&&... args) const {
        if (function_)
            function_(std::forward<Passed>(args)...);
        else
            ::SetLastError(error_);
    }

private:
    static DWORD MissingError(const CSystemLibrary& library, Result (*function)(Args...)) noexcept {
        if (!library)
            return library.load_error();
        return function ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND;
    }

    Result (*function_)(Args...);
    DWORD error_;
};

// The library FileName, loaded on first use and kept until the process ends (a destructor that
// closes a handle of it at exit must still find its code), and its entry points.
template <const wchar_t* FileName> struct CProcessWideLibrary {
    static const CSystemLibrary& Get() {
        static const CSystemLibrary* const library = new CSystemLibrary(FileName);
        return *library;
    }
    template <typename Function> static CSystemEntry<Function> Entry(const char* name) {
        return CSystemEntry<Function>(Get(), name);
    }
};

} // namespace nvx
