#pragma once
// Registry fixtures for the tests: a key tree that is removed when the test ends, and
// values written with the plain registry calls (independent of the holder under test).
#include "config/RegistryKey.h"

#include <windows.h>

#include <string>

class ScratchRegistryTree {
public:
    ScratchRegistryTree(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
        ::RegDeleteTreeW(root_, path_.c_str());
    }
    ~ScratchRegistryTree() {
        ::RegDeleteTreeW(root_, path_.c_str());
        // The parent was made for the tests too; it goes once the last tree below it is gone.
        size_t backslash = path_.rfind(L'\\');
        if (backslash != std::wstring::npos)
            DeleteIfEmpty(path_.substr(0, backslash));
    }
    ScratchRegistryTree(const ScratchRegistryTree&) = delete;
    ScratchRegistryTree& operator=(const ScratchRegistryTree&) = delete;

    HKEY root() const noexcept { return root_; }
    const std::wstring& path() const noexcept { return path_; }
    std::wstring Below(const std::wstring& sub_key) const {
        return sub_key.empty() ? path_ : path_ + L"\\" + sub_key;
    }

    // Writes raw data of any type below the tree (sub_key empty: the tree's own key).
    bool SetRaw(const std::wstring& sub_key, const wchar_t* name, DWORD type, const void* data,
                DWORD size) const {
        UniqueRegistryKey key;
        if (::RegCreateKeyExW(root_, Below(sub_key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr) != ERROR_SUCCESS)
            return false;
        return ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
    }
    bool SetString(const std::wstring& sub_key, const wchar_t* name, const std::wstring& text) const {
        return SetRaw(sub_key, name, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    bool SetDword(const std::wstring& sub_key, const wchar_t* name, DWORD value) const {
        return SetRaw(sub_key, name, REG_DWORD, &value, sizeof(value));
    }
    bool CreateKey(const std::wstring& sub_key) const {
        UniqueRegistryKey key;
        return ::RegCreateKeyExW(root_, Below(sub_key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 key.put(), nullptr) == ERROR_SUCCESS;
    }
    bool KeyExists(const std::wstring& sub_key) const {
        UniqueRegistryKey key;
        return ::RegOpenKeyExW(root_, Below(sub_key).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    }

private:
    void DeleteIfEmpty(const std::wstring& path) const {
        DWORD sub_keys = 1, values = 1;
        {
            UniqueRegistryKey key;
            if (::RegOpenKeyExW(root_, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
                ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return;
        }
        if (sub_keys == 0 && values == 0)
            ::RegDeleteKeyW(root_, path.c_str());
    }

    HKEY root_;
    std::wstring path_;
};
