#pragma once
// The XML reader's diagnostic log (see xml/ResultLog.h) read back: the first event that makes a
// document unreadable, in words, with the offset in the text where the reader found it.
#include <cstddef>
#include <string>
#include <string_view>

struct ReaderEvent {
    std::wstring description; // completes "The manifest ...": "has a start tag <b> that is never closed"
    bool has_offset = false;
    size_t offset = 0;
};

ReaderEvent FirstReaderProblem(std::wstring_view log);
