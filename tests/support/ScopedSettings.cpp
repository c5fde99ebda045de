#include "tests/support/ScopedSettings.h"

namespace nvxtest {

namespace {

std::optional<std::wstring> EnvironmentVariable(const std::wstring& name) {
    ::SetLastError(ERROR_SUCCESS); // an empty variable may answer 0 as well, without an error
    DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0)
        return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::wstring>(L"");
    std::wstring value(size, L'\0');
    DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// An open registry key, closed when it goes out of scope.
class COpenKey {
public:
    COpenKey(HKEY root, const std::wstring& path) {
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~COpenKey() {
        if (key_)
            ::RegCloseKey(key_);
    }
    COpenKey(const COpenKey&) = delete;
    COpenKey& operator=(const COpenKey&) = delete;
    HKEY get() const noexcept { return key_; }

private:
    HKEY key_ = nullptr;
};

bool KeyIsEmpty(HKEY root, const std::wstring& path) {
    COpenKey key(root, path);
    DWORD sub_keys = 1, values = 1;
    return key.get() &&
           ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           sub_keys == 0 && values == 0;
}

} // namespace

CScopedEnvironmentVariable::CScopedEnvironmentVariable(std::wstring name,
                                                       const std::optional<std::wstring>& value)
    : name_(std::move(name)), saved_(EnvironmentVariable(name_)) {
    ::SetEnvironmentVariableW(name_.c_str(), value ? value->c_str() : nullptr);
}

CScopedEnvironmentVariable::~CScopedEnvironmentVariable() {
    ::SetEnvironmentVariableW(name_.c_str(), saved_ ? saved_->c_str() : nullptr);
}

CScopedCurrentDirectory::CScopedCurrentDirectory(const std::wstring& folder) {
    DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    saved_.resize(size);
    saved_.resize(::GetCurrentDirectoryW(size, saved_.data()));
    changed_ = !saved_.empty() && ::SetCurrentDirectoryW(folder.c_str());
}

CScopedCurrentDirectory::~CScopedCurrentDirectory() {
    if (changed_)
        ::SetCurrentDirectoryW(saved_.c_str());
}

std::optional<RegistryValueData> ReadRegistryValue(HKEY root, const std::wstring& sub_key,
                                                   const wchar_t* name) {
    // RegQueryValueExW, not RegGetValueW, which would terminate strings stored without.
    COpenKey key(root, sub_key);
    DWORD type = 0, size = 0;
    if (!key.get() || ::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValueData value{type, std::vector<BYTE>(size)};
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

bool RegistryKeyExists(HKEY root, const std::wstring& sub_key) {
    return COpenKey(root, sub_key).get() != nullptr;
}

CScopedRegistryValue::CScopedRegistryValue(HKEY root, std::wstring sub_key, std::wstring name)
    : root_(root), sub_key_(std::move(sub_key)), name_(std::move(name)),
      saved_(ReadRegistryValue(root_, sub_key_, name_.c_str())) {
    for (std::wstring path = sub_key_; !path.empty() && !RegistryKeyExists(root_, path);) {
        keys_made_.push_back(path);
        size_t backslash = path.rfind(L'\\');
        path = backslash == std::wstring::npos ? std::wstring() : path.substr(0, backslash);
    }
}

CScopedRegistryValue::~CScopedRegistryValue() {
    if (saved_)
        Set(saved_->type, saved_->data.data(), static_cast<DWORD>(saved_->data.size()));
    else
        Delete();
    // A key made meanwhile that something else has filled since stays.
    for (const std::wstring& path : keys_made_)
        if (!KeyIsEmpty(root_, path) || ::RegDeleteKeyW(root_, path.c_str()) != ERROR_SUCCESS)
            break;
}

bool CScopedRegistryValue::Set(DWORD type, const void* data, DWORD size) const {
    return ::RegSetKeyValueW(root_, sub_key_.c_str(), name_.c_str(), type, data, size) == ERROR_SUCCESS;
}

bool CScopedRegistryValue::SetString(const std::wstring& text) const {
    return Set(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool CScopedRegistryValue::SetDword(DWORD value) const {
    return Set(REG_DWORD, &value, sizeof(value));
}

bool CScopedRegistryValue::Delete() const {
    LSTATUS status = ::RegDeleteKeyValueW(root_, sub_key_.c_str(), name_.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace nvxtest
