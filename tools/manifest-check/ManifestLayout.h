#pragma once
// Where the installer finds each value of a product manifest, retraced in the installer's own
// reading order (see config/ManifestReader.cpp): which elements it reads, which entries it
// drops for want of their key, and by implication which it never reaches.
#include "tools/manifest-check/ForwardReader.h"

#include <string_view>
#include <vector>

// The children the installer reads, in its order, for each element it reads children of.
inline constexpr std::wstring_view kTopFields[] = {L"web_installer_version", L"product_code", L"product"};
inline constexpr std::wstring_view kProductFields[] = {
    L"pid",           L"full_name",          L"short_name",        L"registry",
    L"standalone",    L"standalone_version", L"version_check_url", L"main_component",
    L"language_pack", L"dependency"};
inline constexpr std::wstring_view kMainFields[] = {L"name", L"executable", L"full_url", L"transform"};
inline constexpr std::wstring_view kTransformFields[] = {L"lang_id", L"name", L"full_url"};
inline constexpr std::wstring_view kLanguagePackFields[] = {L"lang_id", L"pid", L"name", L"full_url"};
inline constexpr std::wstring_view kDependencyFields[] = {L"name", L"full_url", L"install_commandline"};

// An element whose children the installer reads, and the order it reads them in.
struct ReadContainer {
    int element = 0;
    std::span<const std::wstring_view> order;
};

struct ManifestLayout {
    int root = 0;          // "nvxwebinstaller"
    LocatedRecord top;     // web_installer_version, product_code (element: the root)
    LocatedRecord product; // pid ... version_check_url
    int main_element = 0;  // "main_component", also when the installer finds no "name" in it
    LocatedRecord main;    // name, executable, full_url (element 0 when not read)
    std::vector<LocatedRecord> transforms;
    std::vector<LocatedRecord> language_packs;
    std::vector<LocatedRecord> dependencies;
    std::vector<int> dropped; // entries the installer finds but drops: no "lang_id" or "name"
    std::vector<ReadContainer> containers;
};

// Finds the document element "nvxwebinstaller" the way both readers do, marks it read and adds it
// as a container with `order`; 0 when there is none.
int TraceRoot(CForwardReader& reader, std::vector<ReadContainer>& containers,
              std::span<const std::wstring_view> order);

// Retraces the installer's reading of a loaded manifest; marks what it reads in `reader`.
ManifestLayout TraceManifest(CForwardReader& reader);
