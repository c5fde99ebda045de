#pragma once
// What the fuzz targets share: the check that ends the run on a broken promise, and where a
// target writes its input to read it back through the reader's own file access:
// a folder of this process under NVX_FUZZ_TMP (memory-backed when the script finds it), else
// under /tmp.
#include <cstddef>
#include <cstdint>
#include <string>

// "<NVX_FUZZ_TMP>/<name>.<pid>", created on first use; forward slashes.
std::string FuzzScratchFolder(const char* name);

// Writes the bytes to the file and answers whether all of them were written.
bool WriteFuzzInput(const std::string& path, const uint8_t* data, size_t size);

// The installer's paths are wide; the scratch paths are plain ASCII.
std::wstring WidePath(const std::string& path);

// Ends the run (the fuzzer saves the input) when a reader breaks one of its promises.
void FuzzCheck(bool condition);

// No text read from a file can be longer than the file's bytes: every decoding gives at most
// one character per byte.
void FuzzCheckReadText(const std::wstring& text, size_t file_size);
