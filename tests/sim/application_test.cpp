#include "sim/application.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "program_support.h"

namespace {

using ApplicationTest = simtest::programtest;

TEST_F(ApplicationTest, StartsIntoTheMenuFliesReturnsAndWritesTheSettingsAtExit) {
  Key(kxcode::kKeyF1, kxcode::kModShift);  // log overlay on: a setting the exit saves
  Key(kxcode::kKeyReturn);                 // fly, without a device
  Key('a');                                // the stand-in simulation returns to the menu
  Key(kxcode::kKeyF1 + 2);                 // remove the second aircraft (there is none)
  EXPECT_EQ(Run(), 0);

  std::string log = Text("kx.log");
  const char* order[] = {
      "gl:  loading texture texture/kxicons.bmp=ok",
      "kxscript:  svgold.kxd(",
      "gl:  loading font texture/arial10.kxf=ok",
      "gl:  loading texture texture/exhaust.bmp=ok",
      "kxprogram:  Skyvane Gold Edition Version 1.8.0.17",
      "loading configfile config/main.mcf=fail",
      "loading player configfile config/player2.mcf=fail",
      "directsound:  register sound sound/glider2.wav=ok",
      "gl:  loading texture texture/chorizon.bmp=ok",
      "gl:  loading geometry objects/horizon.obj=ok",
      "gl:  loading texture texture/compass.bmp=ok",
      "gl:  loading texture texture/circle.bmp=ok",
      "gl:  loading geometry objects/card.tgo=ok",
      "gl:  loading texture texture/svgebuttonl1.bmp=ok",
      "gl:  loading texture texture/svgebuttonex.bmp=ok",
      "gl:  loading geometry objects/pylon.obj=ok",
      "gl:  loading texture texture/svmap01.bmp=ok",
      "gl:  loading font texture/menufont.kxf=ok",
      "gl:  loading font texture/arial20b.kxf=ok",
      "sim:  loading aircraft 1 christeneagle...",
      "kxdynamics:  loading aircraft christeneagle=ok",
      "sim:  switching to simulation mode...",
      "saving configfile config/main.mcf=ok",
      "saving player configfile config/player1.mcf=ok",
      "saving configfile config/main.mcf=ok",
  };
  size_t at = 0;
  for (const char* line : order) {
    size_t found = log.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing after position " << at << ": " << line;
    at = found + 1;
  }
  EXPECT_NE(Text("config/main.mcf").find("\nshow_log  1\n"), std::string::npos);
  EXPECT_NE(Text("config/main.mcf").find("\naircraft0  christeneagle\n"), std::string::npos);
  EXPECT_EQ(Text("config/player1.mcf").rfind("view_mode  50\n", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config/player2.mcf"));
  EXPECT_EQ(window_.creations, 1);
  EXPECT_EQ(log.find("still held"), std::string::npos) << log.substr(std::min(log.find("still held"), log.size()));
}

}  // namespace
