#pragma once
// Detection of the prerequisite components already on the machine, from the registry values
// their installers write (64-bit view).
#include <map>
#include <string>

using PrerequisiteDetector = bool (*)();

// Dependency file name (narrow, compared exactly, letter case included) to its detector.
extern const std::map<std::string, PrerequisiteDetector> prerequisite_detectors;

// True when the dependency of that name has a detector and the detector finds it installed; a
// dependency without a detector is always installed.
bool IsPrerequisiteInstalled(const std::wstring& name);

bool DetectWebView2Runtime();
bool DetectVcRuntime();
bool DetectBonjour();

// The keys the detectors read.
inline constexpr wchar_t kWebView2MachineKey[] =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr wchar_t kWebView2UserKey[] =
    L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr wchar_t kVcRuntimeKey[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64";
inline constexpr wchar_t kBonjourKey[] = L"SOFTWARE\\Apple Inc.\\Bonjour";
