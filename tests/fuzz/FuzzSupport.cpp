#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string FuzzScratchFolder(const char* name) {
    const char* root = std::getenv("NVX_FUZZ_TMP");
    std::string folder = std::string(root ? root : "/tmp") + "/" + name + "." + std::to_string(getpid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

bool WriteFuzzInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

std::wstring WidePath(const std::string& path) {
    return std::wstring(path.begin(), path.end());
}

void FuzzCheck(bool condition) {
    if (!condition)
        std::abort();
}

void FuzzCheckReadText(const std::wstring& text, size_t file_size) {
    FuzzCheck(text.size() <= file_size);
}
