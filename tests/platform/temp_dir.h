// A fresh temporary directory per test, removed afterwards; tests that touch
// relative paths change into it and back.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/skyvane-platform-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
  }
  // Creates parent directories too.
  void Write(const std::string& relative, const std::string& bytes) {
    std::filesystem::path p = std::filesystem::path(dir_) / relative;
    std::filesystem::create_directories(p.parent_path());
    FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::string Read(const std::string& relative) {
    std::string bytes;
    FILE* f = std::fopen((std::filesystem::path(dir_) / relative).c_str(), "rb");
    if (!f) return "<missing>";
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<char>(c));
    std::fclose(f);
    return bytes;
  }
  std::string dir_;
  std::filesystem::path previous_;
};
