// Shared helpers of the graphics tests: a captured log and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/core/test_support.h"
#include "tests/temp_dir.h"

namespace kxtest {

// Captures the log and gives each test an empty scratch folder.
class GraphicsTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return folder_.Path(name); }
  const std::string& Log() const { return logcapture::Text(); }

  logcapture capture_;
  tempdir folder_;
};

}  // namespace kxtest
