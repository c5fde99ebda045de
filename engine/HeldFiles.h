#pragma once
// Files the installation will run, held open from the end of their download until their step
// has run. Each is open for reading and shared for reading only, so that no one else can
// write, delete or rename it meanwhile; its digest is read through the held handle, so the
// bytes checked are the bytes used.
#include "config/Sha256Pin.h"
#include "framework/Handles.h"

#include <map>
#include <string>

class CHeldFiles {
public:
    // Holds the file at `path` unless it is held already; false when it cannot be opened so.
    bool Hold(const std::wstring& path);
    bool IsHeld(const std::wstring& path) const { return files_.count(path) != 0; }
    // The SHA-256 of the held file; false when it is not held or cannot be read.
    bool Digest(const std::wstring& path, Sha256Digest& digest) const;
    // True when the path still leads to the held file: a folder on the way that was moved
    // and replaced (which Windows refuses while the file is held, Wine does not) leads elsewhere.
    bool StillAtItsPath(const std::wstring& path) const;
    // Lets the file go.
    void Release(const std::wstring& path) { files_.erase(path); }
    // Lets the file go and deletes it.
    void Discard(const std::wstring& path);

private:
    std::map<std::wstring, nvx::UniqueHandle> files_;
};
