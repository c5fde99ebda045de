#pragma once
// The findings as text for people ("file:line:column: error: ...", the form editors and build
// logs link) or as JSON for pipelines. Both UTF-8.
#include "tools/manifest-check/Finding.h"

#include <string>

std::string FormatText(const Findings& findings);
std::string FormatJson(const Findings& findings);
