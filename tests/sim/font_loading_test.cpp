// A font file that is missing or broken gives way to the built-in plain
// font, said in the log and in a notice, so no text goes blank.
#include "sim/font_loading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "graphics/texture_table.h"
#include "sim/notice.h"
#include "tests/core/test_support.h"
#include "tests/temp_dir.h"

namespace {

TEST(Fonts, AMissingOrBrokenFontGivesWayToThePlainOneWithALogLineAndANotice) {
  kxtest::tempdir folder;
  kxtest::logcapture log;
  const int textures = kxgl::TexturesInUse();
  std::ofstream(folder.Path("broken.kxf"), std::ios::binary) << "KXF1 not a font";
  for (const std::string& path : {folder.Path("missing.kxf"), folder.Path("broken.kxf")}) {
    SCOPED_TRACE(path);
    sim::ClearNotices();
    log.Clear();
    kxglfont font;
    std::memset(&font, 0, sizeof font);
    EXPECT_EQ(sim::LoadFontOrBuiltin(path.c_str(), &font, sim::kLargeFontLine), 0);
    EXPECT_EQ(font.lineHeight, sim::kLargeFontLine);
    ASSERT_NE(font.texture, nullptr);
    EXPECT_GT(font.glyphs[int{'A'}].advance, 0);
    EXPECT_TRUE(log.Contains(("gl:  loading font " + path + "=fail\n").c_str())) << log.Text();
    EXPECT_TRUE(log.Contains(("sim:  font " + path + " unusable; the built-in plain font is used instead\n").c_str()));
    EXPECT_EQ(sim::TakeNotice(), "The font " + path +
                                     " could not be loaded (see the log); a plain built-in font is used instead.");
    kxgl::FreeFont(&font);
  }
  EXPECT_EQ(kxgl::TexturesInUse(), textures);
}

}  // namespace
