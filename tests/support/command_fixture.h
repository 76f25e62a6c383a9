#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/posix/working_directory.h"
#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"

namespace verada::test {

// A menu command run from a start-up folder on files in another folder, with the fake platform.
class CommandFixture : public ::testing::Test {
  protected:
    explicit CommandFixture(const std::string& fileFolder) {
        std::filesystem::create_directory(dir_ / "start");
        std::filesystem::create_directory(dir_ / fileFolder);
        startup_ = std::filesystem::canonical(dir_ / "start").string();
        folder_ = std::filesystem::canonical(dir_ / fileFolder).string();
        std::filesystem::current_path(startup_);
        directories_ = {startup_, "/last"};
    }

    TempDir dir_;
    std::string startup_;
    std::string folder_;
    FakePlatform platform_;
    SessionDirectories directories_;
    int mainWindow_ = 0;
};

}  // namespace verada::test
