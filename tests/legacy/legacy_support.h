// Shared set-up of the legacy runtime tests: a fresh pool, a captured log and
// a scratch folder per test, and files written into it.
#pragma once

#include <fstream>
#include <string>

#include "legacy/factory.h"
#include "legacy/parts.h"
#include "legacy/pool.h"
#include "tests/graphics/test_support.h"

namespace kxltest {

// The folder of the committed data set.
inline std::string DataPath(const std::string& relative) { return std::string(KX_TEST_DATA "/../../../data/") + relative; }
inline std::string FixturePath(const std::string& relative) { return std::string(KX_TEST_DATA "/") + relative; }

class legacytest : public kxtest::GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    dnsmodel::InitPool();
  }
  // Writes bytes to a file of the scratch folder and returns its path.
  std::string WriteFile(const char* name, const std::string& bytes) {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  int PartCount(const dnsmodel::object* list) const {
    int n = 0;
    for (; list; list = list->next) ++n;
    return n;
  }
};

}  // namespace kxltest
