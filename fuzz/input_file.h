// Puts fuzz inputs into files, for targets whose code under test reads files
// by name rather than from memory. Every file lives in one private folder
// under the system's temporary folder, named after the process. Each
// input's files are removed when the input is done, and the folder when the
// run ends normally; a run that ends otherwise (a timed-out input ends the
// process at once, a crash) leaves it, and the next run of any target
// removes it, as its process has gone.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzzinput {

constexpr char kFolderPrefix[] = "skyvane-fuzz-";

// Removes the private folders of runs whose process has gone: the name is
// the prefix, the process id, '-' and a random part.
inline void RemoveStaleFolders(const std::filesystem::path& temporary) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(temporary, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kFolderPrefix, 0) != 0) continue;
    const std::string rest = name.substr(sizeof kFolderPrefix - 1);
    char* end = nullptr;
    const long pid = std::strtol(rest.c_str(), &end, 10);
    if (pid <= 0 || end == rest.c_str() || *end != '-') continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

// The private folder, made on the first call; empty when it cannot be made.
// Held by a pointer that is never freed, so the exit handler that removes
// the folder never meets a destroyed path.
inline const std::filesystem::path& Folder() {
  static const std::filesystem::path* folder = [] {
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) temporary = "/tmp";
    RemoveStaleFolders(temporary);
    std::string pattern =
        (temporary / (kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return new std::filesystem::path();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(Folder(), ignored);
    });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}

// Makes the private folder the working folder, for code that reads paths
// relative to the data folder. false when it cannot. libFuzzer reads its
// seed files after the first input: such a target needs absolute corpus and
// artifact paths.
inline bool EnterFolder() {
  std::error_code error;
  if (Folder().empty()) return false;
  std::filesystem::current_path(Folder(), error);
  return !error;
}

// Writes the bytes to path, replacing it. false when it cannot be written.
inline bool WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool whole = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && whole;
}

// One input as a file in the private folder, removed when this goes.
class file {
 public:
  file(const char* name, const uint8_t* data, size_t size) {
    if (Folder().empty()) return;
    std::filesystem::path path = Folder() / name;
    if (WriteBytes(path, data, size)) path_ = path.string();
  }
  ~file() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove(path_, ignored);
  }
  file(const file&) = delete;
  file& operator=(const file&) = delete;

  // Null when the file could not be written.
  const char* Path() const { return path_.empty() ? nullptr : path_.c_str(); }

 private:
  std::string path_;
};

// The older single-file form, for targets written against it: writes the
// bytes to `path`; 1, or 0 when it cannot be written.
inline int WriteInput(const char* path, const uint8_t* data, size_t size) {
  return path && WriteBytes(path, data, size) ? 1 : 0;
}

}  // namespace fuzzinput
