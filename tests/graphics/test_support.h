// Shared helpers of the graphics tests: a captured log and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "tests/core/test_support.h"

namespace kxtest {

// Captures the log and gives each test an empty scratch folder.
class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("skyvane_") + info->test_suite_name() + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  const std::string& Log() const { return logcapture::Text(); }

  logcapture capture_;
  std::filesystem::path dir_;
};

}  // namespace kxtest
