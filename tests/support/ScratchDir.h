#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A new directory of its own for one test, removed with everything in it afterwards; tests that
// CTest runs side by side never share one.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = ::testing::TempDir() + "quillmark-XXXXXX";
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        FPath = pattern;
    }
    ~ScratchDir() { std::filesystem::remove_all(FPath); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};
