#pragma once
// Guards for the process-wide settings a test changes: each keeps what was there before and
// puts it back when the test's scope ends, however the test ends (a failed ASSERT returns
// early), so no test sees what an earlier one left behind.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace nvxtest {

// An environment variable of this process; a value of nullopt removes it for the scope.
class CScopedEnvironmentVariable {
public:
    CScopedEnvironmentVariable(std::wstring name, const std::optional<std::wstring>& value);
    ~CScopedEnvironmentVariable();
    CScopedEnvironmentVariable(const CScopedEnvironmentVariable&) = delete;
    CScopedEnvironmentVariable& operator=(const CScopedEnvironmentVariable&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> saved_;
};

// The process's current directory.
class CScopedCurrentDirectory {
public:
    explicit CScopedCurrentDirectory(const std::wstring& folder);
    ~CScopedCurrentDirectory();
    CScopedCurrentDirectory(const CScopedCurrentDirectory&) = delete;
    CScopedCurrentDirectory& operator=(const CScopedCurrentDirectory&) = delete;
    bool changed() const noexcept { return changed_; }

private:
    std::wstring saved_;
    bool changed_ = false;
};

// The process's error mode (SEM_FAILCRITICALERRORS and the like).
class CScopedErrorMode {
public:
    explicit CScopedErrorMode(UINT mode) : saved_(::SetErrorMode(mode)) {}
    ~CScopedErrorMode() { ::SetErrorMode(saved_); }
    CScopedErrorMode(const CScopedErrorMode&) = delete;
    CScopedErrorMode& operator=(const CScopedErrorMode&) = delete;

private:
    UINT saved_;
};

// The calling thread's locale, which the locale-dependent calls of the program read.
class CScopedThreadLocale {
public:
    explicit CScopedThreadLocale(LCID locale) : saved_(::GetThreadLocale()) { ::SetThreadLocale(locale); }
    ~CScopedThreadLocale() { ::SetThreadLocale(saved_); }
    CScopedThreadLocale(const CScopedThreadLocale&) = delete;
    CScopedThreadLocale& operator=(const CScopedThreadLocale&) = delete;

private:
    LCID saved_;
};

// The calling thread's DPI awareness: an aware thread sees other programs' windows in their own
// pixels, an unaware one sees them scaled to 96 DPI.
class CScopedThreadDpiAwareness {
public:
    explicit CScopedThreadDpiAwareness(DPI_AWARENESS_CONTEXT context)
        : saved_(::SetThreadDpiAwarenessContext(context)) {}
    ~CScopedThreadDpiAwareness() {
        if (saved_)
            ::SetThreadDpiAwarenessContext(saved_);
    }
    CScopedThreadDpiAwareness(const CScopedThreadDpiAwareness&) = delete;
    CScopedThreadDpiAwareness& operator=(const CScopedThreadDpiAwareness&) = delete;

private:
    DPI_AWARENESS_CONTEXT saved_;
};

// A registry value as stored, byte for byte.
struct RegistryValueData {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RegistryValueData&) const = default;
};
std::optional<RegistryValueData> ReadRegistryValue(HKEY root, const std::wstring& sub_key,
                                                   const wchar_t* name);
bool RegistryKeyExists(HKEY root, const std::wstring& sub_key);

// One registry value (in the test's Wine prefix): whatever the test writes or deletes, the
// value is as before afterwards, its type included; keys made only to hold it are removed.
class CScopedRegistryValue {
public:
    CScopedRegistryValue(HKEY root, std::wstring sub_key, std::wstring name);
    ~CScopedRegistryValue();
    CScopedRegistryValue(const CScopedRegistryValue&) = delete;
    CScopedRegistryValue& operator=(const CScopedRegistryValue&) = delete;

    bool Set(DWORD type, const void* data, DWORD size) const;
    bool SetString(const std::wstring& text) const;
    bool SetDword(DWORD value) const;
    bool Delete() const;

private:
    HKEY root_;
    std::wstring sub_key_;
    std::wstring name_;
    std::optional<RegistryValueData> saved_;
    std::vector<std::wstring> keys_made_; // missing at the start: deepest first
};

} // namespace nvxtest
