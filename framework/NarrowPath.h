#pragma once
// Paths are UTF-16 like every string of the program; where the file system has no wide calls
// it takes them in UTF-8. Shared by the readers of XML and profile files.
#include <string>

// The UTF-8 form of a wide path (a surrogate pair becomes one four-byte sequence).
std::string NarrowPath(const std::wstring& path);
