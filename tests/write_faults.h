// Failing writes made in a test, as a user meets them, whoever runs the
// tests (the superuser ignores file permissions): a full disk, and one file
// that cannot be replaced.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "platform/files.h"

namespace kxtest {

// While it lives, every write of a byte to a file fails as on a full disk:
// the process may not make any file longer than 0 bytes.
class fulldisk {
 public:
  fulldisk() {
    ::getrlimit(RLIMIT_FSIZE, &kept_);
    signal_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
    rlimit none = kept_;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }
  ~fulldisk() {
    ::setrlimit(RLIMIT_FSIZE, &kept_);
    std::signal(SIGXFSZ, signal_);
  }
  fulldisk(const fulldisk&) = delete;
  fulldisk& operator=(const fulldisk&) = delete;

 private:
  rlimit kept_{};
  void (*signal_)(int) = SIG_DFL;
};

// Makes every later replacement of the file at path fail: a folder stands
// where the program writes the new bytes before it renames them over.
inline void BlockReplacing(const std::string& path) {
  std::filesystem::create_directories(path + kxsystem::kTempSuffix);
}

}  // namespace kxtest
