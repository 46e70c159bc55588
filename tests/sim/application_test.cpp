#include "sim/application.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "gui/icons.h"
#include "platform/codes.h"
#include "platform/main_loop.h"
#include "platform/null_window.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "sim_support.h"

namespace {

namespace fs = std::filesystem;

// Hands out one scripted event per frame, so each one meets the mode that the
// frame before left active; quits if the script runs dry.
class framedbackend : public nullwindowbackend {
 public:
  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override {
    *count = 0;
    if ((gap_ = !gap_)) return 0;
    if (events.empty()) Push(kxplatformevent::kQuit);
    return nullwindowbackend::NextEvent(waitMs, out, outCount, count);
  }

 private:
  bool gap_ = false;
};

// The program run start to exit on our own data, in a folder of its own with
// links to the data's read-only parts and a copy of the configuration.
class ApplicationTest : public inputtest::UsbTest {
 protected:
  void SetUp() override {
    UsbTest::SetUp();
    simtest::ResetSimulatorState();
    previous_ = fs::current_path();
    char pattern[] = "/tmp/skyvane-app-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::path data = fs::path(KX_TEST_DATA) / "../../../data";
    for (const char* part : {"aircraft", "objects", "sound", "texture", "svgold.kxd", "kxdisplay.kxd"})
      fs::create_symlink(fs::canonical(data / part), dir_ / part);
    fs::create_directory(dir_ / "config");
    for (const char* file : {"config.kxc", "acft00.kxa", "acft01.kxa"})
      fs::copy_file(data / "config" / file, dir_ / "config" / file);
    kxsystem::SetWindowBackend(&window_);
    directsound::SetBackend(&sound_);
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    directsound::Reset();
    directsound::SetBackend(nullptr);
    kxscript::Shutdown();
    kxgui::FreeIcons();  // the exit freed every texture; the next start loads the sheets again
    kxsystem::ClearReserves();
    fs::current_path(previous_);
    std::error_code error;
    fs::remove_all(dir_, error);
    simtest::ResetSimulatorState();
    UsbTest::TearDown();
  }
  int Run() {
    std::string folder = dir_.string();
    char program[] = "skyvane";
    std::vector<char> path(folder.begin(), folder.end());
    path.push_back(0);
    char* argv[] = {program, path.data(), nullptr};
    return kxsystem::Run(2, argv, sim::InitApplication);
  }
  std::string Text(const char* relative) {
    std::string bytes;
    if (FILE* f = std::fopen((dir_ / relative).c_str(), "rb")) {
      for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<char>(c));
      std::fclose(f);
    }
    return bytes;
  }
  void Key(int code, int mods = 0) { window_.Push(kxplatformevent::kKeyDown, code, mods); }

  fs::path dir_, previous_;
  framedbackend window_;
  fakesoundbackend sound_;
};

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
  EXPECT_FALSE(fs::exists(dir_ / "config/player2.mcf"));
  EXPECT_EQ(window_.creations, 1);
}

}  // namespace
