#include "config/RegistryKey.h"

#include <iterator>
#include <vector>

namespace {

constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

} // namespace

void RegistryKey::Open(HKEY root, const std::wstring& sub_key) {
    Close();
    path_ = sub_key;
    if (::RegCreateKeyExW(root, sub_key.c_str(), 0, nullptr, 0, kReadWriteAccess, nullptr, write_key_.put(),
                          nullptr) == ERROR_SUCCESS &&
        write_key_)
        return;
    write_key_.reset();
    if (::RegOpenKeyExW(root, sub_key.c_str(), 0, KEY_READ, read_only_key_.put()) != ERROR_SUCCESS)
        read_only_key_.reset();
}

void RegistryKey::Attach(HKEY read_key) {
    Close();
    read_only_key_.reset(read_key);
}

void RegistryKey::Close() {
    write_key_.reset();
    read_only_key_.reset();
    path_.clear();
}

std::optional<std::wstring> RegistryKey::ReadString(const wchar_t* value_name) const {
    HKEY key = read_handle();
    if (!key)
        return std::nullopt;
    DWORD size = 0;
    if (::RegQueryValueExW(key, value_name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for the data plus a terminator the stored value may lack.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD read_size = size;
    if (::RegQueryValueExW(key, value_name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                           &read_size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer.data());
}

std::optional<uint32_t> RegistryKey::ReadDword(const wchar_t* value_name) const {
    HKEY key = read_handle();
    if (!key)
        return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(key, value_name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

LONG RegistryKey::WriteString(const wchar_t* value_name, const std::wstring& text) const {
    if (!write_key_)
        return ERROR_CANTWRITE;
    DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(write_key_.get(), value_name, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), size);
}

LONG RegistryKey::WriteDword(const wchar_t* value_name, uint32_t value) const {
    if (!write_key_)
        return ERROR_CANTWRITE;
    DWORD data = value;
    return ::RegSetValueExW(write_key_.get(), value_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof(data));
}

void RegistryKey::EnumerateSubkeys(Table<wchar_t, wchar_t*>& names) const {
    HKEY key = read_handle();
    if (!key)
        return;
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;
         ::RegEnumKeyW(key, index, name, static_cast<DWORD>(std::size(name))) == ERROR_SUCCESS; ++index)
        names.Add(name);
}
