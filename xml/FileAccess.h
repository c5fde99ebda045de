#pragma once
// Opening a file for binary reading by its wide path, and the system's code and text for the
// last failure of a file operation.
#include <cstdio>
#include <string>

FILE* OpenFileForReading(const std::wstring& path);

struct FileFailure {
    long code = 0;
    std::wstring message;
};

// The error of the file operation that just failed.
FileFailure LastFileFailure();

// The error reported for a file too large to be read as text.
FileFailure FileTooLargeFailure();
