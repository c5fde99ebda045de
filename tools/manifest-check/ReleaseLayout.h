#pragma once
// Where the installer finds each value of version.xml, retraced in its reading order (see
// config/ManifestReader.cpp): the product code only moves the search on, then "fresh_install"
// and after it "patch_install", each with its three values in order.
#include "tools/manifest-check/ManifestLayout.h"

inline constexpr std::wstring_view kReleaseTopFields[] = {L"product_code", L"fresh_install",
                                                          L"patch_install"};
inline constexpr std::wstring_view kReleaseFields[] = {L"product_version", L"min_web_installer_version",
                                                       L"web_installer_download_url"};

struct ReleaseLayout {
    int root = 0;
    LocatedText product_code;
    LocatedRecord fresh; // element 0 when not read
    LocatedRecord patch;
    std::vector<ReadContainer> containers;
};

ReleaseLayout TraceRelease(CForwardReader& reader);
