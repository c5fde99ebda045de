#include "framework/File.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::wstring TempPath(const wchar_t* name) {
    return (std::filesystem::temp_directory_path() / name).wstring();
}

TEST(File, WritesSeeksReadsAndTruncates) {
    std::wstring path = TempPath(L"nvx-file-test.bin");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite));
        file.Write("hello world", 11);
        EXPECT_EQ(file.GetLength(), 11u);
        EXPECT_EQ(file.Seek(6), 6u);
        char buffer[16] = {};
        EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 5u);
        EXPECT_STREQ(buffer, "world");
        file.SetLength(5);
        file.Flush();
        EXPECT_EQ(file.GetLength(), 5u);
    }
    {
        // Opening without modeNoTruncate starts over; with it the content stays.
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
        EXPECT_EQ(file.GetLength(), 5u);
        EXPECT_EQ(file.SeekToEnd(), 5u);
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    std::filesystem::remove(path);
}

TEST(File, FailuresAreReported) {
    CFile missing;
    DWORD error = 0;
    EXPECT_FALSE(missing.Open(TempPath(L"nvx-no-such-folder\\x.bin"), CFile::modeRead, &error));
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
    EXPECT_FALSE(missing.IsOpen());

    std::wstring path = TempPath(L"nvx-file-readonly.bin");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        file.Write("x", 1);
    }
    CFile reader;
    ASSERT_TRUE(reader.Open(path, CFile::modeRead));
    EXPECT_THROW(reader.Write("y", 1), CFileException);
    reader.Close();
    std::filesystem::remove(path);
}

} // namespace
