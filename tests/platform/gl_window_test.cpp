// Real window, context and events on the display the tests run under (Xvfb
// with Mesa's software renderer); skipped where no display exists.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/gl_context.h"
#include "platform/log.h"
#include "platform/main_loop.h"
#include "platform/window.h"
#include "gl_support.h"
#include "sdl_events.h"
#include "tests/temp_dir.h"

namespace {

using kxtest::DisplayAvailable;
using kxtest::ReadPixel;

// Clears to blue and fills the lower-left quarter green.
void DrawQuarter(int width, int height) {
  glViewport(0, 0, width, height);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glColor3f(0, 1, 0);
  glBegin(GL_QUADS);
  glVertex2f(0, 0);
  glVertex2f(width / 2.0f, 0);
  glVertex2f(width / 2.0f, height / 2.0f);
  glVertex2f(0, height / 2.0f);
  glEnd();
}

class GlWindowTest : public TempDirTest {
 protected:
  void SetUp() override {
    if (!DisplayAvailable()) GTEST_SKIP() << "no display";
    TempDirTest::SetUp();
    kxsystem::SetWindowBackend(nullptr);
    kxsystem::callbacks = kxcallbacks();
    kxsystem::display = kxdisplaysettings();
    kxsystem::ClearLogHistory();
  }
  void TearDown() override {
    kxsystem::callbacks = kxcallbacks();
    if (!dir_.empty()) TempDirTest::TearDown();
  }
};

TEST_F(GlWindowTest, ContextReportsItsCapabilitiesAndDrawsPixels) {
  windowbackend* backend = kxsystem::SdlWindowBackend();
  ASSERT_EQ(backend->Start(), 1);
  kxsystem::display.window_width = 320;
  kxsystem::display.window_height = 240;
  if (!backend->Create(kxsystem::display)) {
    backend->Stop();
    GTEST_SKIP() << "no GL context";
  }
  EXPECT_EQ(kxsystem::HasContext(), 1);
  EXPECT_EQ(kxsystem::display.window_width, 320);
  EXPECT_EQ(kxsystem::display.window_height, 240);
  kxgl::InitExtensions();
  const kxglcaps& caps = kxgl::caps;
  EXPECT_EQ(caps.multitexture, 1);
  ASSERT_NE(caps.active_texture, nullptr);
  caps.active_texture(GL_TEXTURE1_ARB);
  GLint unit = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &unit);
  EXPECT_EQ(unit, GL_TEXTURE1_ARB);
  caps.active_texture(GL_TEXTURE0_ARB);
  EXPECT_EQ(caps.cube_map, 1);
  EXPECT_EQ(caps.separate_specular, 1);
  EXPECT_EQ(caps.compressed_textures, 1);
  EXPECT_EQ(caps.software, 0);
  EXPECT_EQ(caps.pbuffer, 0);
  EXPECT_EQ(caps.framebuffer_object, 1);
  EXPECT_NE(caps.fbo.renderbuffer_storage, nullptr);
  EXPECT_GE(caps.max_renderbuffer_size, 1024);
  EXPECT_GE(caps.max_texture_size, 1024);
  EXPECT_EQ(caps.stencil_bits, 8);

  DrawQuarter(320, 240);
  kxtest::pixel inside = ReadPixel(10, 10);
  kxtest::pixel outside = ReadPixel(300, 200);
  EXPECT_EQ(inside.g, 255);
  EXPECT_EQ(inside.b, 0);
  EXPECT_EQ(outside.b, 255);
  EXPECT_EQ(outside.g, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  kxsystem::SwapBuffers();
  kxsystem::CallHook(0);

  backend->Destroy();
  EXPECT_EQ(kxsystem::HasContext(), 0);
  backend->Stop();

  // The capability lines went to the log with the gl tag.
  bool sawRenderer = false, sawCubeMap = false, sawFramebuffer = false;
  for (int n = 1; n < 40; ++n) {
    std::string line = kxsystem::GetLogLine(n);
    if (line.rfind("gl:  renderer ", 0) == 0) sawRenderer = true;
    if (line == "gl:  cube map=1") sawCubeMap = true;
    if (line == "gl:  framebuffer object=1") sawFramebuffer = true;
  }
  EXPECT_TRUE(sawRenderer);
  EXPECT_TRUE(sawCubeMap);
  EXPECT_TRUE(sawFramebuffer);
}

std::vector<std::string> trace;
int frames = 0;
kxtest::pixel drawn{};

void Push(const SDL_Event& e) {
  SDL_Event copy = e;
  SDL_PushEvent(&copy);
}

void PushKey(SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod, const char* text) {
  Push(kxtest::KeyEvent(SDL_KEYDOWN, sym, scancode, mod));
  if (text) Push(kxtest::TextEvent(text));
}

void PushButton(Uint32 type, Uint8 clicks) {
  Push(kxtest::ButtonEvent(type, SDL_BUTTON_LEFT, clicks, 0, kxsystem::display.window_height - 1));
}

TEST_F(GlWindowTest, RunDeliversWindowEventsAsCodesAndDrawsFrames) {
  // A tiny splash bitmap made here.
  std::filesystem::create_directories(dir_ + "/texture");
  SDL_Surface* splash = SDL_CreateRGBSurfaceWithFormat(0, 64, 32, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(splash, nullptr);
  ASSERT_EQ(SDL_SaveBMP(splash, (dir_ + "/texture/splash.bmp").c_str()), 0);
  SDL_FreeSurface(splash);
  // 118 bytes whose header claims 23170 x 23170 texels of 32 bits: SDL would
  // size a surface of 2 GB from it.
  std::string huge(118, '\0');
  const uint32_t fields[][2] = {{0, 'B' | 'M' << 8}, {10, 54}, {14, 40}, {18, 23170}, {22, 23170}, {26, 1 | 32 << 16}};
  for (const auto& f : fields)
    for (int i = 0; i < 4; ++i) huge[f[0] + i] = static_cast<char>(f[1] >> 8 * i);
  Write("texture/huge.bmp", huge);
  trace.clear();
  frames = 0;
  drawn = kxtest::pixel{};

  char program[] = "skyvane";
  std::vector<char> path(dir_.begin(), dir_.end());
  path.push_back(0);
  char* argv[] = {program, path.data(), nullptr};
  int result = kxsystem::Run(2, argv, [] {
    trace.push_back(kxsystem::SdlWindowBackend()->HasSplash() ? "splash" : "no splash");
    trace.push_back(kxsystem::SdlWindowBackend()->ShowSplash("texture/huge.bmp") ? "huge splash" : "no huge splash");
    kxsystem::display.window_width = 256;
    kxsystem::display.window_height = 128;
    kxcallbacks& cb = kxsystem::callbacks;
    cb.key_down = [](int key, int mods) { trace.push_back("key " + std::to_string(key) + " " + std::to_string(mods)); };
    cb.mouse = [](int code, int) {
      if (code == kxcode::kMouseMove) return;  // the real pointer may move over the window
      trace.push_back("mouse " + std::to_string(code) + " at " + std::to_string(input::pointer.x) + "," +
                      std::to_string(input::pointer.y));
    };
    cb.graphics_init = [] {
      kxsystem::DestroySplash();
      trace.push_back(kxsystem::SdlWindowBackend()->HasSplash() ? "splash" : "no splash");
      PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, nullptr);
      PushKey(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, nullptr);
      PushKey(SDLK_KP_8, SDL_SCANCODE_KP_8, 0, "8");
      PushKey(SDLK_F1, SDL_SCANCODE_F1, KMOD_LSHIFT, nullptr);
      PushKey(SDLK_a, SDL_SCANCODE_A, 0, "a");
      PushKey(SDLK_r, SDL_SCANCODE_R, KMOD_LCTRL, nullptr);
      PushButton(SDL_MOUSEBUTTONDOWN, 1);
      PushButton(SDL_MOUSEBUTTONUP, 1);
    };
    cb.draw = [] {
      DrawQuarter(kxsystem::display.window_width, kxsystem::display.window_height);
      drawn = ReadPixel(1, 1);
      kxsystem::SwapBuffers();
      if (++frames == 5) kxsystem::callbacks.request = kxcode::kRequestQuit;
    };
  });
  EXPECT_EQ(result, 0);
  std::vector<std::string> expected = {"splash", "no huge splash", "no splash", "key 260 0", "key 269 0",
                                       "key 291 0", "key 271 512", "key 97 0", "key 114 1024",
                                       "mouse 24 at 0,0", "mouse 23 at 0,0"};
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(frames, 5);
  EXPECT_EQ(drawn.g, 255);
  EXPECT_EQ(kxsystem::display.window_width, 256);
  EXPECT_EQ(kxsystem::display.window_height, 128);
  EXPECT_NE(Read("kx.log").find("gl:  renderer "), std::string::npos);
  EXPECT_NE(Read("kx.log").find("kxsystem:  texture/huge.bmp: 23170x23170, larger than any picture may be; no splash\n"),
            std::string::npos);
}

// Without a display SDL would fall back to a driver that draws into memory;
// the program says in one line that it has no window system and ends.
TEST_F(GlWindowTest, WithoutADisplayTheProgramSaysSoAndExitsWithCodeThree) {
  std::string display = std::getenv("DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  std::string drivers = driver ? driver : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  char program[] = "skyvane";
  std::vector<char> path(dir_.begin(), dir_.end());
  path.push_back(0);
  char* argv[] = {program, path.data(), nullptr};
  static int initialised;
  initialised = 0;
  testing::internal::CaptureStderr();
  int result = kxsystem::Run(2, argv, [] { initialised = 1; });
  std::string said = testing::internal::GetCapturedStderr();
  setenv("DISPLAY", display.c_str(), 1);
  if (driver) setenv("SDL_VIDEODRIVER", drivers.c_str(), 1);
  EXPECT_EQ(result, kxsystem::kExitNoWindow);
  EXPECT_EQ(initialised, 0);
  EXPECT_EQ(Read("kx.log"), "kxsystem:  no window system, exit 3\n");
  // Libraries SDL tries on the way may say more before it.
  std::string line = "kxsystem:  no window system\n";
  EXPECT_EQ(said.substr(said.size() - std::min(said.size(), line.size())), line) << said;
}

}  // namespace
