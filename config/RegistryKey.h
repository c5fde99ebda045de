#pragma once
// The holder through which the program reads and writes the registry. Open creates a
// missing key when the process may, and otherwise falls back to read-only access; a holder
// without handles reads nothing and refuses writes with ERROR_CANTWRITE.
#include "config/Table.h"
#include "framework/Handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

using UniqueRegistryKey = nvx::UniqueResource<HKEY, &::RegCloseKey>;

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(HKEY root, const std::wstring& sub_key) { Open(root, sub_key); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    void Open(HKEY root, const std::wstring& sub_key);
    // Takes over a key the caller opened itself, for reading.
    void Attach(HKEY read_key);
    void Close();

    HKEY read_handle() const noexcept { return write_key_ ? write_key_.get() : read_only_key_.get(); }
    HKEY write_handle() const noexcept { return write_key_.get(); }
    const std::wstring& path() const noexcept { return path_; }

    // The value's data as text (always terminated, also when the stored value is not);
    // nothing when it cannot be read.
    std::optional<std::wstring> ReadString(const wchar_t* value_name) const;
    // The value's first four bytes as a number, whatever its stored type; nothing when it
    // cannot be read into four bytes.
    std::optional<uint32_t> ReadDword(const wchar_t* value_name) const;
    LONG WriteString(const wchar_t* value_name, const std::wstring& text) const;
    LONG WriteDword(const wchar_t* value_name, uint32_t value) const;
    void EnumerateSubkeys(Table<wchar_t, wchar_t*>& names) const;

private:
    UniqueRegistryKey write_key_;     // read and write access; also used for reading
    UniqueRegistryKey read_only_key_; // when write access was refused, or attached
    std::wstring path_;
};
