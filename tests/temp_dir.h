// The one temporary folder of the tests: a fresh folder per owner, removed
// with everything in it when the owner goes. std::filesystem only, so no test
// runs a shell.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace kxtest {

class tempdir {
 public:
  // With enter set, the process works in the folder until it goes, so tests
  // of relative paths ("aircraft/...") stay inside it.
  explicit tempdir(bool enter = false) {
    namespace fs = std::filesystem;
    static int serial = 0;
    const fs::path base = fs::temp_directory_path();
    do {
      path_ = base / ("skyvane-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    } while (!fs::create_directory(path_));  // a folder left by an earlier process is skipped
    if (enter) {
      previous_ = fs::current_path();
      fs::current_path(path_);
    }
  }
  ~tempdir() {
    std::error_code error;
    if (!previous_.empty()) std::filesystem::current_path(previous_, error);
    std::filesystem::remove_all(path_, error);
  }
  tempdir(const tempdir&) = delete;
  tempdir& operator=(const tempdir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string Path(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes bytes to a file below the folder, making its folders first.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path p = path_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  // The bytes of a file below the folder, "<missing>" when there is none.
  std::string Read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

}  // namespace kxtest

// A test run inside a fresh temporary folder.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override { temp_ = std::make_unique<kxtest::tempdir>(true), dir_ = temp_->path().string(); }
  void TearDown() override { temp_.reset(); }
  void Write(const std::string& relative, const std::string& bytes) { temp_->Write(relative, bytes); }
  std::string Read(const std::string& relative) { return temp_->Read(relative); }
  std::unique_ptr<kxtest::tempdir> temp_;
  std::string dir_;
};
