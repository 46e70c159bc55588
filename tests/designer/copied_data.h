// The designer fixture run in a temporary folder that holds copies of the
// trainer and the airfoils from the committed data, so that what the
// designer saves lands there; a test copies more with CopyFromData.
#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "designer_support.h"
#include "tests/dynamics/all/samples_support.h"
#include "tests/temp_dir.h"

namespace designertest {

class copieddatafixture : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    folder = std::make_unique<kxtest::tempdir>(true);
    kxdtest::CopyFromData("aircraft/airfoil");
    kxdtest::CopyFromData("aircraft/trainer");
  }
  void TearDown() override {
    designerfixture::TearDown();
    folder.reset();
  }
  // The file's bytes; "" when it cannot be read.
  static std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::unique_ptr<kxtest::tempdir> folder;
};

}  // namespace designertest
