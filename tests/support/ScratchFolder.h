#pragma once
// A fresh folder below the temporary folder for one test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                (prefix + "-" + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return root_; }
    // The folder as the program spells it: no trailing separator.
    std::wstring wpath() const { return root_.wstring(); }

    std::filesystem::path Write(const std::filesystem::path& relative, const std::string& bytes) const {
        std::filesystem::path file = root_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path root_;
};
