#pragma once
// What the product manifest and the server's release data say, in lines for the run's log: the
// first thing to read when an installation did something unexpected.
#include "config/ManifestInfo.h"

#include <string>
#include <vector>

std::vector<std::wstring> DescribeManifest(const ManifestInfo& manifest);
// "product 17.0.0.101, minimum installer 1.0.0.5, installer download <url>".
std::wstring DescribeRelease(const ReleaseInfo& release);
