#pragma once
// Fetches every address the installer would fetch and judges the answers by the installer's
// rules: the size probe's accepted statuses, a Content-Length, ranges for resuming, and the
// bytes against their pin.
#include "tools/manifest-check/Finding.h"

#include <string>
#include <vector>

struct OnlineItem {
    std::wstring what;
    std::wstring url;
    std::wstring pin; // empty: none
    std::wstring file;
    int line = 0;
    int column = 0;
};

void CheckOnline(const std::vector<OnlineItem>& items, Findings& findings);

// A small document (version.xml) fetched as the installer fetches it: a 2xx answer, at most
// 1 MiB. False, with the reason, otherwise.
bool FetchDocument(const std::wstring& url, std::string& bytes, std::wstring& failure);
