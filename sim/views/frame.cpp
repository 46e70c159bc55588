// Sections: layout; fades; screenshots; the window-wide 2-D pass; Draw.
#include "sim/views/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "gui/display.h"
#include "gui/gui.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/fonts.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/aircraft_shadow.h"
#include "sim/views/flat_draw.h"
#include "sim/views/gl_state.h"
#include "sim/views/loading_screen.h"
#include "sim/views/player_view.h"
#include "sim/views/text.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kGuiRest = 2.0f;          // s without mouse movement before the GUI fades
constexpr float kGuiFadeRate = 0.33f;     // per s
constexpr float kTipsFadeScale = 0.5f;    // full strength after 2 s
constexpr float kTipsFull = 1.0f / kTipsFadeScale;  // s of fade at full strength
constexpr int kTipsClearance = 4;         // px between the tips box and a box it moves clear of
constexpr float kBoxAlpha = 0.8f;
constexpr int kBoxMargin = 16;            // px left and right of a text
constexpr int kLogLines = 30;
constexpr float kMenuBandGrey = 0.8f;
constexpr char kScreenshotFolder[] = "screenshots";
constexpr int kPathChars = 512;
// Names tried for one screenshot. The numbers never run out (they grow past
// 99), so the bound only keeps a folder where every name reads as taken from
// holding up the frame for good; the next request goes on from there.
constexpr int kScreenshotTries = 10000;
constexpr int kPixelsPerMetre = 11811;    // 300 dpi
constexpr char kScreenFocus[] = "Visible";  // the menu background: not a window

float guiRest = 0.0f;    // s since the mouse last moved
int screenshotCount = 0; // the first number the next screenshot tries; never reset in a run

void Put16(uint8_t* at, int v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// ---- shadow pictures

void ShadowPictures() {
  for (simplayer* p = &players[0]; p; p = p->next) {
    if (p->flight_state)
      RenderAircraftShadow(p, &p->flight_state->shadow, p->flight_state->position(), nullptr, nullptr);
    // Rendered only while the recorded aircraft is drawn: the scene lays it.
    if (p->recording.present && p->recording.instance)
      RenderAircraftShadow(p, RecordedShadow(p), &p->recording.pose.R.x, p->recording.instance, nullptr);
  }
  const contestrec* c = session.run.current_contest;
  if (c && c->kind == kContestBalloonPop && c->first_balloon) {
    // The balloons share one picture: every balloon is the same ball scaled.
    static const float kOrigin[3] = {0, 0, 0};
    RenderAircraftShadow(&players[0], &c->first_balloon->shadow, kOrigin, nullptr, c->first_balloon->mesh);
  }
}

// ---- views

void Views(int W, int H) {
  viewrect views[2];
  float aspect = 1.0f;
  const int n = SplitViews(session.settings.game_type, W, H, views, &aspect);
  for (int i = 0; i < n; ++i) {
    glViewport(views[i].x, views[i].y, views[i].w, views[i].h);
    DrawView(&players[i], views[i].w, views[i].h, aspect, views[i].x, views[i].y);
  }
  WindowOrtho(W, H);
  if (n < 2) return;
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_LINES);
  if (session.settings.game_type == kGameSplitAbove) {
    glVertex2f(0, H / 2 + 0.5f), glVertex2f(W, H / 2 + 0.5f);
  } else {
    glVertex2f(W / 2 + 0.5f, 0), glVertex2f(W / 2 + 0.5f, H);
  }
  glEnd();
}

// ---- the window-wide 2-D pass

// The flight information boxes of the views drawn, in window pixels.
int FlightInfoBoxes(int W, int H, viewrect out[kPlayers]) {
  viewrect views[2];
  float aspect = 1.0f;
  const int n = SplitViews(session.settings.game_type, W, H, views, &aspect);
  int count = 0;
  for (int i = 0; i < n && i < kPlayers; ++i) {
    const simcamera& info = players[i].camera[0];
    if (info.on) out[count++] = {views[i].x + info.x, views[i].y + info.y, info.width, info.height};
  }
  return count;
}

// Drawn after the views: the flight information boxes have their heights
// of this frame.
void TipsBox(int W, int H) {
  const float a = StepTips(session);
  if (a < 0.0f) return;
  const sessionrun& s = session.run;
  kxgl::SetFont(&small_font);
  const int n = std::clamp(s.tip_lines, 0, sessionrun::kTipLines), lh = small_font.lineHeight;
  auto text = [&](int i) { return s.tip_text[i] ? s.tip_text[i] : ""; };
  int mw = 0;
  for (int i = 0; i < n; ++i) mw = std::max(mw, kxgl::TextWidth(text(i)));
  viewrect boxes[kPlayers];
  const viewrect box = PlaceTipsBox(W, H, mw, n, lh, boxes, FlightInfoBoxes(W, H, boxes));
  glColor4f(0, 0, 0, kBoxAlpha * a);
  DrawFlatRect(box.x, box.y, box.x + box.w, box.y + box.h);
  glColor4f(1, 1, 1, a);
  glEnable(GL_TEXTURE_2D);
  const int base = box.y + n * lh;
  for (int i = 0; i < n; ++i) DrawTextAtBaseline((W - kxgl::TextWidth(text(i))) / 2, base - (i + 1) * lh + lh / 2, text(i));
}

bool WindowFocused() {
  const kxgraphic* focus = kxgui::Focus;
  return focus && !focus->name.Equal(kScreenFocus);
}

void MenuAndGui(int W, int H) {
  const sessionrun& s = session.run;
  const float alpha = GuiAlpha(&guiRest, &input::pointer, s.sim_time_step, WindowFocused());
  kxgl::SetFont(&small_font);
  if (!(alpha > 0.0f)) return;
  glColor4f(kMenuBandGrey, kMenuBandGrey, kMenuBandGrey, alpha);
  DrawFlatRect(0, H - s.menu_bar_height, W, H);
  if (kxgui::Display) kxgui::Display->SetAlpha(alpha);
  kxgui::Draw();
  if (kxgui::Display) kxgui::Display->SetAlpha(1.0f);
  WindowOrtho(W, H);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, alpha);
  kxgl::DrawMouse();
}

/* The path of the first number from screenshotCount whose name nothing
   holds yet, as the file functions look names up (without case; a link or
   a folder holds one too), so no picture of an earlier run or of the
   user's is written over, nor replaced by a half-written one while
   WriteScreenshot appends; false when kScreenshotTries names are taken. */
bool FreeScreenshotPath(char* path, size_t size, const char* aircraft, const char* scenery) {
  for (int tries = 0; tries < kScreenshotTries; ++tries) {
    ScreenshotPath(path, size, aircraft, scenery, screenshotCount++);
    if (kxsystem::ReadProblem(path) == kxsystem::kNotFound) return true;
  }
  return false;
}

void Screenshot(int W, int H) {
  simsession& s = session;
  if (!s.run.screenshot_request) return;
  s.run.screenshot_request = 0;
  char path[kPathChars];
  if (!FreeScreenshotPath(path, sizeof path, s.settings.aircraft0, TheWorld()->name)) {
    kxsystem::Log("sim:  no screenshot written: the %d names up to %s are taken\n", kScreenshotTries, path);
    return;
  }
  kxsystem::Log("sim:  writing screenshot %s=", path);
  const int w4 = W / 4 * 4, h4 = H / 4 * 4;
  bool ok = w4 > 0 && h4 > 0;
  if (ok) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w4) * h4 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w4, h4, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    kxsystem::CreateDirectory(kScreenshotFolder);
    ok = WriteScreenshot(path, w4, h4, pixels.data()) == 1;
  }
  kxsystem::Log(ok ? "done\n" : "fail\n");
}

}  // namespace

// ---- layout

int SplitViews(gametype gameType, int W, int H, viewrect out[2], float* aspect) {
  auto ratio = [](int w, int h) { return h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f; };
  switch (gameType) {
    case kGameSingle:
      out[0] = {0, 0, W, H};
      *aspect = ratio(W, H);
      return 1;
    case kGameSplitAbove:
      out[0] = {0, 0, W, H / 2};
      out[1] = {0, H / 2, W, H / 2};
      *aspect = ratio(W, H / 2);
      return 2;
    case kGameSplitSide:
      out[0] = {0, 0, W / 2, H};
      out[1] = {W / 2, 0, W / 2, H};
      *aspect = ratio(W / 2, H);
      return 2;
    default:
      return 0;
  }
}

viewrect PlaceTipsBox(int W, int H, int textWidth, int lines, int lineHeight, const viewrect* keepClear, int count) {
  const int n = std::max(lines, 0);
  viewrect box{(W - textWidth) / 2 - kBoxMargin, H / 5 - n * lineHeight, textWidth + 2 * kBoxMargin, (n + 1) * lineHeight};
  auto covers = [&box](const viewrect& r) {
    return box.x < r.x + r.w && r.x < box.x + box.w && box.y < r.y + r.h && r.y < box.y + box.h;
  };
  // Only ever raised, so one pass per rectangle settles it.
  for (int pass = 0; pass < count; ++pass)
    for (int i = 0; i < count; ++i)
      if (covers(keepClear[i])) box.y = keepClear[i].y + keepClear[i].h + kTipsClearance;
  return box;
}

// ---- the status message

void DrawStatusMessage(int W, int H, float frameTime) {
  sessionrun& s = session.run;
  if (!(s.status_time > 0.0f)) return;
  kxgl::SetFont(&small_font);
  const int tw = kxgl::TextWidth(s.status_text), xt = (W - tw) / 2, yc = H / 5, lh = small_font.lineHeight;
  s.status_time -= frameTime;
  glColor4f(0, 0, 0, kBoxAlpha);
  DrawFlatRect(xt - kBoxMargin, yc - lh, (W + tw) / 2 + kBoxMargin, yc + lh);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  DrawTextAtBaseline(xt, yc - lh + lh / 2, s.status_text);
}

// ---- fades

float StepTips(simsession& s) {
  if (!s.settings.show_tips || (s.run.tip_time < 0.0f && s.run.tip_elapsed < 0.0f)) return -1.0f;
  // A tip whose time is up, or whose condition ended, starts to go at once.
  if (!(s.run.tip_time > 0.0f)) s.run.tip_elapsed = std::min(s.run.tip_elapsed, kTipsFull);
  s.run.tip_elapsed += s.run.tip_time > 0.0f ? s.run.frame_time : -s.run.frame_time;
  s.run.tip_time -= s.run.frame_time;
  return std::clamp(s.run.tip_elapsed * kTipsFadeScale, 0.0f, 1.0f);
}

float GuiAlpha(float* rest, kxpointer* pointer, float simStep, int windowFocused) {
  float alpha = 1.0f;
  if (pointer->moved) {
    // A moving mouse brings the faded GUI back.
    *rest = 0.0f;
    pointer->moved = 0;
    pointer->fade = 1.0f;
    alpha = pointer->fade;
  } else if (*rest <= kGuiRest) {
    *rest += simStep;
    alpha = pointer->fade;
  } else {
    if (pointer->fade > 0.0f) pointer->fade = std::max(0.0f, pointer->fade - kGuiFadeRate * simStep);
    alpha = pointer->fade;
  }
  return windowFocused ? 1.0f : alpha;
}

// ---- screenshots

int ScreenshotPath(char* out, size_t size, const char* aircraft, const char* scenery, int number) {
  if (!size) return 0;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  const std::string path = std::string(kScreenshotFolder) + "/svgol-" + aircraft + "-" + scenery + "-" + digits + ".bmp";
  const size_t kept = std::min(path.size(), size - 1);
  path.copy(out, kept);
  out[kept] = '\0';
  return kept == path.size();
}

void BmpHeader(int width, int height, uint8_t out[kBmpHeaderBytes]) {
  std::fill(out, out + kBmpHeaderBytes, 0);
  const uint32_t pixelBytes = static_cast<uint32_t>(width) * 3u * static_cast<uint32_t>(height);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, pixelBytes + kBmpHeaderBytes);
  Put32(out + 10, kBmpHeaderBytes);
  Put32(out + 14, 40);
  Put32(out + 18, static_cast<uint32_t>(width));
  Put32(out + 22, static_cast<uint32_t>(height));
  Put16(out + 26, 1);
  Put16(out + 28, 24);
  Put32(out + 38, kPixelsPerMetre);
  Put32(out + 42, kPixelsPerMetre);
}

int WriteScreenshot(const char* path, int width, int height, const uint8_t* pixels) {
  uint8_t header[kBmpHeaderBytes];
  BmpHeader(width, height, header);
  const long bytes = static_cast<long>(width) * 3 * height;
  return kxsystem::WriteWholeFile(path, header, 14) && kxsystem::AppendFile(path, header + 14, 40) &&
                 kxsystem::AppendFile(path, pixels, bytes)
             ? 1
             : 0;
}

void ResetFrame() {
  guiRest = 0.0f;
  screenshotCount = 0;
}

// ---- the frame

void Draw() {
  if (!kxgl::HasContext()) return;
  const int W = kxsystem::display.window_width, H = kxsystem::display.window_height;
  ShadowPictures();
  glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  Views(W, H);

  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawStatusMessage(W, H, session.run.frame_time);
  TipsBox(W, H);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  if (session.settings.show_log) DrawLogLines(kLogLines);
  MenuAndGui(W, H);
  Screenshot(W, H);
  kxgl::SwapBuffers();
}

}  // namespace sim
