#include "framework/DesktopLaunch.h"

#include "framework/Handles.h"

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <array>
#include <memory>

namespace {

// The identifiers the route relies on, spelled out so that nothing depends on which of them
// a given SDK's import library happens to carry.
constexpr CLSID kClsidShellWindows = {
    0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr IID kIidShellWindows = {
    0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kIidServiceProvider = {
    0x6D5140C1, 0x7436, 0x11CE, {0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA}};
constexpr GUID kSidTopLevelBrowser = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
constexpr IID kIidShellBrowser = {
    0x000214E2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidShellView = {0x000214E3, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidShellFolderViewDual = {
    0xE7A1AF80, 0x4D96, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kIidShellDispatch2 = {
    0xA4C6892C, 0x3BA9, 0x11D2, {0x9D, 0xEA, 0x00, 0xC0, 0x4F, 0xB1, 0x61, 0x62}};

struct BstrDeleter {
    void operator()(wchar_t* text) const noexcept { ::SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<wchar_t, BstrDeleter>;

UniqueBstr MakeBstr(const std::wstring& text) {
    return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// A VARIANT that refers to a string it does not own.
VARIANT TextVariant(BSTR text) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
}

template <typename T> nvx::ComPtr<T> As(IUnknown* unknown, const IID& iid) {
    nvx::ComPtr<T> typed;
    if (unknown)
        unknown->QueryInterface(iid, reinterpret_cast<void**>(typed.ReleaseAndGetAddressOf()));
    return typed;
}

HRESULT FindDesktopWindow(IUnknown* previous, IUnknown** next) {
    nvx::ComPtr<IShellWindows> windows = As<IShellWindows>(previous, kIidShellWindows);
    if (!windows)
        return E_NOINTERFACE;
    VARIANT desktop_location;
    ::VariantInit(&desktop_location);
    desktop_location.vt = VT_I4;
    desktop_location.lVal = 0; // the desktop
    VARIANT empty_root;
    ::VariantInit(&empty_root);
    long desktop_hwnd = 0;
    nvx::ComPtr<IDispatch> dispatch;
    // S_FALSE and no object when there is no desktop window.
    HRESULT hr = windows->FindWindowSW(&desktop_location, &empty_root, SWC_DESKTOP, &desktop_hwnd,
                                       SWFO_NEEDDISPATCH, dispatch.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr) && dispatch)
        dispatch->QueryInterface(kIidDispatch, reinterpret_cast<void**>(next));
    return hr;
}

HRESULT QueryTopLevelBrowser(IUnknown* previous, IUnknown** next) {
    nvx::ComPtr<IServiceProvider> provider = As<IServiceProvider>(previous, kIidServiceProvider);
    if (!provider)
        return E_NOINTERFACE;
    return provider->QueryService(kSidTopLevelBrowser, kIidShellBrowser, reinterpret_cast<void**>(next));
}

HRESULT QueryActiveShellView(IUnknown* previous, IUnknown** next) {
    nvx::ComPtr<IShellBrowser> browser = As<IShellBrowser>(previous, kIidShellBrowser);
    if (!browser)
        return E_NOINTERFACE;
    nvx::ComPtr<IShellView> view;
    HRESULT hr = browser->QueryActiveShellView(view.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr) && view)
        view->QueryInterface(kIidShellView, reinterpret_cast<void**>(next));
    return hr;
}

HRESULT GetBackgroundDispatch(IUnknown* previous, IUnknown** next) {
    nvx::ComPtr<IShellView> view = As<IShellView>(previous, kIidShellView);
    if (!view)
        return E_NOINTERFACE;
    return view->GetItemObject(SVGIO_BACKGROUND, kIidDispatch, reinterpret_cast<void**>(next));
}

HRESULT GetApplication(IUnknown* previous, IUnknown** next) {
    nvx::ComPtr<IShellFolderViewDual> folder_view =
        As<IShellFolderViewDual>(previous, kIidShellFolderViewDual);
    if (!folder_view)
        return E_NOINTERFACE;
    nvx::ComPtr<IDispatch> application;
    HRESULT hr = folder_view->get_Application(application.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr) && application)
        application->QueryInterface(kIidDispatch, reinterpret_cast<void**>(next));
    return hr;
}

HRESULT ShellExecuteThroughShell(IUnknown* previous, const std::wstring& path) {
    nvx::ComPtr<IShellDispatch2> shell = As<IShellDispatch2>(previous, kIidShellDispatch2);
    if (!shell)
        return E_NOINTERFACE;
    UniqueBstr file = MakeBstr(path);
    UniqueBstr empty = MakeBstr(L"");
    if (!file || !empty)
        return E_OUTOFMEMORY;
    VARIANT show;
    ::VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    // No arguments, no working folder, the default verb.
    return shell->ShellExecute(file.get(), TextVariant(empty.get()), TextVariant(empty.get()),
                               TextVariant(empty.get()), show);
}

} // namespace

HRESULT CShellLaunchSteps::Run(DesktopLaunchStep step, IUnknown* previous, const std::wstring& path,
                               IUnknown** next) {
    *next = nullptr;
    void** out = reinterpret_cast<void**>(next);
    switch (step) {
    case DesktopLaunchStep::CreateShellWindows:
        return ::CoCreateInstance(kClsidShellWindows, nullptr, CLSCTX_ALL, kIidShellWindows, out);
    case DesktopLaunchStep::FindDesktopWindow:
        return FindDesktopWindow(previous, next);
    case DesktopLaunchStep::QueryServiceProvider:
        return previous ? previous->QueryInterface(kIidServiceProvider, out) : E_POINTER;
    case DesktopLaunchStep::QueryTopLevelBrowser:
        return QueryTopLevelBrowser(previous, next);
    case DesktopLaunchStep::QueryActiveShellView:
        return QueryActiveShellView(previous, next);
    case DesktopLaunchStep::GetBackgroundDispatch:
        return GetBackgroundDispatch(previous, next);
    case DesktopLaunchStep::QueryFolderViewDual:
        return previous ? previous->QueryInterface(kIidShellFolderViewDual, out) : E_POINTER;
    case DesktopLaunchStep::GetApplication:
        return GetApplication(previous, next);
    case DesktopLaunchStep::QueryShellDispatch:
        return previous ? previous->QueryInterface(kIidShellDispatch2, out) : E_POINTER;
    case DesktopLaunchStep::ShellExecute:
        return ShellExecuteThroughShell(previous, path);
    }
    return E_INVALIDARG;
}

bool LaunchAsDesktopUser(const std::wstring& path, IDesktopLaunchSteps& steps) {
    // Every interface obtained stays held until the end, then all are released together.
    std::array<nvx::ComPtr<IUnknown>, kDesktopLaunchStepCount> obtained;
    IUnknown* previous = nullptr;
    for (int index = 0; index < kDesktopLaunchStepCount; ++index) {
        auto step = static_cast<DesktopLaunchStep>(index);
        HRESULT hr =
            steps.Run(step, previous, path, obtained[static_cast<size_t>(index)].ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return false;
        if (step == DesktopLaunchStep::ShellExecute)
            return true;
        previous = obtained[static_cast<size_t>(index)].Get();
        if (!previous)
            return false; // the step succeeded but found nothing (no desktop window, say)
    }
    return false;
}

void LaunchAsDesktopUser(const std::wstring& path) {
    CShellLaunchSteps shell;
    LaunchAsDesktopUser(path, shell);
}
