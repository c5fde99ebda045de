#pragma once
// One problem found in a published file: where it is, how bad it is, and what to do about it,
// in words for the release engineer who publishes the file.
#include <string>
#include <vector>

enum class Severity {
    Note,    // something the checker could not look at; changes no exit code
    Warning, // the installer works, but not as well as it could
    Error,   // the installer stops, skips or misreads something
};

struct Finding {
    Severity severity = Severity::Error;
    std::wstring code; // short and stable, for pipelines: "missing-field", "bad-version", ...
    std::wstring file;
    int line = 0; // 0: the file as a whole
    int column = 0;
    std::wstring message;
};

using Findings = std::vector<Finding>;

// 0 when clean (notes only), 1 with warnings only, 2 with any error.
int ExitCodeFor(const Findings& findings);
