// Sections: flight information; titles and geometry of the overlays; sun
// glare; drawing the overlays; DrawView.
#include "sim/views/player_view.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/maths.h"
#include "core/vector3.h"
#include "dynamics/flight_state.h"
#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "sim/fonts.h"
#include "sim/hud_texts.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/aircraft_draw.h"
#include "sim/views/contest_display.h"
#include "sim/views/flat_draw.h"
#include "sim/views/instrument_panel.h"
#include "sim/views/scene.h"
#include "sim/views/view_matrices.h"
#include "sim/world/world.h"

namespace sim {
namespace {

// Head-up texts of the flight information and the window titles.
enum : int {
  kHudSpeed = 0,
  kHudHeight = 1,
  kHudAltitude = 2,
  kHudHeading = 3,
  kHudRpm = 4,
  kHudFps = 5,
  kHudRecording = 6,
  kHudPlaying = 7,
  kHudFlightLength = 8,
  kHudRecordedLength = 9,
  kHudRecordedAircraft = 10,
  kHudPressPlay = 11,
  kHudPressStopRecording = 12,
  kHudPressStopPlayback = 13,
  kHudTitleFlightInfo = 33,
  kHudTitleAircraft = 34,
  kHudTitleWind = 35,
  kHudTitleFollow = 36,
  kHudTitleFixed = 37,
  kHudTitleRecordFixed = 38,
  kHudTitleRecordFollow = 39,
  kHudTitleRecordCockpit = 40,
  kHudTitlePylonRace = 41,
  kHudTitleDragRace = 42,
  kHudTitleBalloonPop = 43,
  kHudTitleSpotLanding = 44,
};

constexpr float kMphPerMs = 2.236936f;
constexpr float kFeetPerMetre = 3.28084f;
constexpr int kFlightInfoBase = 23;        // px: title bar and a thin content strip
constexpr int kRecordingLines = 3;
constexpr int kTitlePad = 4;               // px the title bar adds to a line
constexpr float kWhite[3] = {1, 1, 1};
constexpr float kRed[3] = {1, 0, 0};
constexpr float kGreen[3] = {0, 1, 0};
constexpr float kYellow[3] = {1, 1, 0};

constexpr float kSunDistance = 1.0e6f;     // m: far enough to stand for the sun
constexpr float kGlareReach = 1.5f;        // normalised screen distance
constexpr float kGlareStrength = 0.7f;
constexpr float kGlareSize = 0.8f;         // half-size over the view's width
constexpr float kMinW = 1e-6f;             // clip w of a point on the eye plane

constexpr float kContentAlpha = 0.6f;
constexpr float kAircraftBackground[4] = {0.3f, 0.4f, 0.8f, 0.7f};
constexpr float kTitleLeft[4] = {0.1f, 0.1f, 0.6f, 0.75f};
constexpr float kTitleRight[4] = {0.3f, 0.3f, 0.9f, 0.75f};
constexpr float kGripColour[4] = {0.1f, 0.1f, 0.6f, 0.85f};
constexpr float kGrip = 16.0f;             // px
constexpr float kOverlayDepth = 1000.0f;   // orthographic depth either way

// Wind window: the variometer bar at its right, the rose filling the rest.
constexpr float kPanelWidth = 48.0f;       // px, black strip behind the bar
constexpr float kBarOuter = 36.0f, kBarInner = 16.0f;  // px from the right edge
constexpr float kBarMargin = 16.0f;        // px above and below
constexpr float kTickOuter = 40.0f, kTickInner = 12.0f;
constexpr int kRoseMargin = 44;            // px the rose leaves to the bar
constexpr float kVarioScale = 0.25f;       // bar fraction per m/s
constexpr float kBarGrey = 0.5f;
constexpr float kCalmWind = 0.1f;          // m/s
constexpr float kArrowPlace = 0.7f;        // of the rose radius, upwind
constexpr float kArrowSize = 0.07f;        // of the rose radius
constexpr float kFullArrowWind = 2.0f;     // m/s
constexpr float kFlatNose = 1e-6f;         // below: the nose points straight up or down

using kxvector3::Cross;
using kxvector3::Dot;
using kxvector3::Normalise;

// A value shown as an integer, truncated toward zero; what no int holds shows 0.
int Whole(float v) {
  if (!std::isfinite(v) || std::fabs(v) >= static_cast<float>(INT_MAX)) return 0;
  return static_cast<int>(v);
}

void SetColour(hudline& line, const float colour[3]) { std::copy(colour, colour + 3, line.colour); }

bool ShowsRecording(const simplayer& p) {
  return p.recording.state == kRecording || p.recording.state == kRecordPlaying || p.recording.present;
}

// ---- drawing helpers

void Colour(const float c[4]) { glColor4f(c[0], c[1], c[2], c[3]); }

void Line(float x0, float y0, float x1, float y1) {
  glBegin(GL_LINES);
  glVertex2f(x0, y0);
  glVertex2f(x1, y1);
  glEnd();
}

// The projection of a world point to normalised device x, y; 0 for a point
// on the eye plane.
bool Project(const float view[16], const float projection[16], const float p[3], float* x, float* y) {
  float e[4], c[4];
  for (int r = 0; r < 4; ++r) e[r] = view[r] * p[0] + view[4 + r] * p[1] + view[8 + r] * p[2] + view[12 + r];
  for (int r = 0; r < 4; ++r)
    c[r] = projection[r] * e[0] + projection[4 + r] * e[1] + projection[8 + r] * e[2] + projection[12 + r] * e[3];
  if (!(std::fabs(c[3]) > kMinW)) return false;
  *x = c[0] / c[3];
  *y = c[1] / c[3];
  return std::isfinite(*x) && std::isfinite(*y);
}

// The 2-D pass of a view: pixels over the viewport, y up.
void ViewOrtho(int w, int h) { kxgl::PixelProjection(w, h); }

// The 2-D pass state: blended, untextured until a picture or a text.
void FlatState() {
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

int LineHeight() { return kxgl::currentFont ? kxgl::currentFont->lineHeight : 0; }

// ---- the views' matrices of the main scene, kept before any overlay scene

struct mainview {
  float view[16];
  float projection[16];
};

// ---- sun glare

// The scenery shines a sun when it says so (HASSHADOW); the record has no
// other sun flag.
bool HasSun(const world& w) { return w.has_shadow != 0; }

void Glare(const simplayer& p, const mainview& m, int w, int h) {
  const world& wd = *TheWorld();
  if (!session.settings.gl_sun_blend || !HasSun(wd) || !p.flight_state || !session.media.backlight_texture) return;
  sunglare g;
  if (!SunGlare(m.view, m.projection, p.viewer_position(), p.viewer_row_x(), wd.sun_direction,
                p.flight_state->position(), &g))
    return;
  const float cx = (g.x + 1.0f) * 0.5f * static_cast<float>(w), cy = (g.y + 1.0f) * 0.5f * static_cast<float>(h);
  const float r = kGlareSize * static_cast<float>(w);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, g.alpha);
  if (!kxgl::BindTexture(session.media.backlight_texture)) return;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2f(cx - r, cy - r);
  glTexCoord2f(1, 0), glVertex2f(cx + r, cy - r);
  glTexCoord2f(1, 1), glVertex2f(cx + r, cy + r);
  glTexCoord2f(0, 1), glVertex2f(cx - r, cy + r);
  glEnd();
  glColor4f(1, 1, 1, 1);
}

// ---- overlay contents

void FlightInfo(simcamera& cam, const simplayer& p, int lh) {
  cam.height = FlightInfoHeight(p, lh);
  glColor4f(0, 0, 0, kContentAlpha);
  DrawFlatRect(cam.x, cam.y, cam.x + cam.width, cam.y + cam.height - lh - kTitlePad);
  hudline lines[kFlightInfoLines];
  const int n = FlightInfoLines(p, session, lines);
  glEnable(GL_TEXTURE_2D);
  for (int i = 0; i < n; ++i) {
    glColor4f(lines[i].colour[0], lines[i].colour[1], lines[i].colour[2], 1);
    DrawTextAtBaseline(cam.x + 3, cam.y + cam.height - 2 * lh - 5 - i * lh, lines[i].text);
  }
  glColor4f(1, 1, 1, 1);
}

void ContestWindow(const simcamera& cam, const simplayer& p, int lh, int w, int h) {
  glColor4f(0, 0, 0, kContentAlpha);
  DrawFlatRect(cam.x, cam.y, cam.x + cam.width, cam.y + cam.height - lh - kTitlePad);
  glColor4f(1, 1, 1, 1);
  DrawContestInfo(session.run.current_contest, &p, cam.x + 3, cam.y + cam.height - 2 * lh - 5, w / 2, h / 2);
  kxgl::SetFont(&small_font);
}

// The window's own depth, so the scene behind it cannot hide what it shows.
void ClearWindowDepth(int x, int y, int width, int height) {
  kxgl::ScissorOn(x, y, width, height);
  glClear(GL_DEPTH_BUFFER_BIT);
  kxgl::ScissorOff();
}

void AircraftOnly(const simplayer& p, const mainview& m, int wx, int wy, const simcamera& cam) {
  const kxdflightstate* s = p.flight_state;
  if (!s) return;
  const float dx = s->bounds_max[0] - s->bounds_min[0], dy = s->bounds_max[1] - s->bounds_min[1];
  const float r = 0.5f * std::sqrt(dx * dx + dy * dy);
  if (!(r > 0.0f) || !std::isfinite(r)) return;
  float turn[16];
  std::copy(m.view, m.view + 16, turn);
  turn[12] = turn[13] = turn[14] = 0.0f;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-r, r, -r, r, -kOverlayDepth, kOverlayDepth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  Colour(kAircraftBackground);
  DrawFlatRect(-r, -r, r, r);
  ClearWindowDepth(wx, wy, cam.width, cam.height);
  glLoadMatrixf(turn);
  glTranslatef(-s->position()[0], -s->position()[1], -s->position()[2]);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glEnable(GL_LIGHTING);
  glColor4f(1, 1, 1, 1);
  DrawAircraft(&p, 1);
  glDisable(GL_LIGHTING);
  glPopAttrib();
}

void VariometerBar(float width, float height, float L, float variometer) {
  const float top = height - L - kBarMargin, middle = (height - L) * 0.5f;
  const float v = std::isfinite(variometer) ? std::clamp(variometer * kVarioScale, -1.0f, 1.0f) : 0.0f;
  glColor4f(0, 0, 0, 1);
  DrawFlatRect(width - kPanelWidth, 0, width, height - L);
  glColor4f(kBarGrey, kBarGrey, kBarGrey, 1);
  DrawFlatRect(width - kBarOuter, kBarMargin, width - kBarInner, top);
  glColor4f(0, 1, 0, 1);
  DrawFlatRect(width - kBarOuter, middle, width - kBarInner, middle + v * (top - middle));
  glColor4f(1, 1, 1, 1);
  glBegin(GL_LINE_LOOP);
  glVertex2f(width - kBarOuter, kBarMargin);
  glVertex2f(width - kBarInner, kBarMargin);
  glVertex2f(width - kBarInner, top);
  glVertex2f(width - kBarOuter, top);
  glEnd();
  Line(width - kTickOuter, middle, width - kTickInner, middle);
}

void WindAndVariometer(const simplayer& p, int wx, int wy, const simcamera& cam, int lh) {
  const kxdflightstate* s = p.flight_state;
  if (!s) return;
  const float dx = s->bounds_max[0] - s->bounds_min[0], dy = s->bounds_max[1] - s->bounds_min[1];
  float R = std::sqrt(dx * dx + dy * dy);
  if (!(R > 0.0f) || !std::isfinite(R)) R = 1.0f;
  const float L = static_cast<float>(lh + 3);
  const float width = static_cast<float>(cam.width), height = static_cast<float>(cam.height);
  kxgl::PixelProjection(width, height, -kOverlayDepth, kOverlayDepth);
  VariometerBar(width, height, L, s->variometer);

  const int roseHeight = cam.height - lh - 3;
  glViewport(wx, wy, cam.width - kRoseMargin, roseHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-R, R, -R, R, -kOverlayDepth, kOverlayDepth);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glColor4f(1, 1, 1, 1);
  DrawPicture(session.media.compass_texture, -R, -R, R, R);
  float arrow[3][2];
  if (WindArrow(s->air_velocity[0], s->air_velocity[1], R, arrow)) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 1, 0, 1);
    glBegin(GL_TRIANGLES);
    for (const float* v : arrow) glVertex2f(v[0], v[1]);
    glEnd();
  }
  glDisable(GL_LIGHTING);
  ClearWindowDepth(wx, wy, cam.width - kRoseMargin, roseHeight);
  glEnable(GL_DEPTH_TEST);
  float above[16];
  FromAboveView(*s, above);
  glLoadMatrixf(above);
  glColor4f(1, 1, 1, 1);
  DrawAircraft(&p, 0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
}

void SceneCamera(simplayer& p, const simcamera& cam) {
  glClear(GL_DEPTH_BUFFER_BIT);
  DrawScene(&p, cam.position, cam.axis_x, cam.axis_y, cam.axis_z, 1.0f, OverlayNear(cam.fov, *TheWorld()), 1, 1, 1);
}

// The contents drawn in the window's own viewport.
void WindowContents(simplayer& p, const simcamera& cam, const mainview& m, int vx, int vy, int lh) {
  GLint saved[4];
  glGetIntegerv(GL_VIEWPORT, saved);
  const int wx = vx + cam.x, wy = vy + cam.y;
  glViewport(wx, wy, cam.width, cam.height);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  switch (cam.type.Scene()) {
    case kViewFixed:
    case kViewFollow:
    case kViewCockpit:
    case kViewCockpitInstruments:
    case kViewRecordFixed:
    case kViewRecordFollow:
    case kViewRecordCockpit:
      SceneCamera(p, cam);
      break;
    default:
      break;
  }
  switch (cam.type.Overlay()) {
    case kCameraAircraft:
      AircraftOnly(p, m, wx, wy, cam);
      break;
    case kCameraWind:
      WindAndVariometer(p, wx, wy, cam, lh);
      break;
    default:
      break;
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glViewport(saved[0], saved[1], saved[2], saved[3]);
  FlatState();
}

// Title bar, outline, close mark and (camera 2's) resize grips. Lines run
// through pixel centres, so each lands on the row or column it names.
void WindowFrame(const simcamera& cam, bool grips, int lh) {
  const float x0 = cam.x, y0 = cam.y, x1 = cam.x + cam.width, y1 = cam.y + cam.height;
  const float left = x0 + 0.5f, bottom = y0 + 0.5f, right = x1 - 0.5f, top = y1 - 0.5f;
  const float L = static_cast<float>(lh + 3);
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  Colour(kTitleLeft);
  glVertex2f(x0, y1 - lh - kTitlePad);
  Colour(kTitleRight);
  glVertex2f(x1, y1 - lh - kTitlePad);
  glVertex2f(x1, y1);
  Colour(kTitleLeft);
  glVertex2f(x0, y1);
  glEnd();
  if (grips) {
    Colour(kGripColour);
    glBegin(GL_TRIANGLES);
    glVertex2f(x0, y0), glVertex2f(x0 + kGrip, y0), glVertex2f(x0, y0 + kGrip);
    glVertex2f(x1, y0), glVertex2f(x1, y0 + kGrip), glVertex2f(x1 - kGrip, y0);
    glEnd();
    glColor4f(1, 1, 1, 1);
    Line(left + kGrip, bottom, left, bottom + kGrip);
    Line(right, bottom + kGrip, right - kGrip, bottom);
  }
  glColor4f(1, 1, 1, 1);
  glBegin(GL_LINE_LOOP);
  glVertex2f(left, bottom), glVertex2f(right, bottom), glVertex2f(right, top), glVertex2f(left, top);
  glEnd();
  Line(left, top - L, right, top - L);
  Line(right - L, top - L, right, top);
  Line(right - L, top, right, top - L);
  Line(right - L - 1, top - L, right - L - 1, top);
  glEnable(GL_TEXTURE_2D);
  DrawTextAtBaseline(cam.x + 3, cam.y + cam.height - lh - 2, OverlayTitle(cam.type, session.run.current_contest));
}

void Overlay(simplayer& p, int index, const mainview& m, int w, int h, int vx, int vy) {
  simcamera& cam = p.camera[index];
  const int lh = LineHeight();
  if (cam.type == kCameraContest && !session.run.current_contest) return;
  if (cam.type == kCameraFlightInfo) FlightInfo(cam, p, lh);
  else if (cam.type == kCameraContest) ContestWindow(cam, p, lh, w, h);
  else WindowContents(p, cam, m, vx, vy, lh);
  WindowFrame(cam, index == 2, lh);
}

}  // namespace

// ---- flight information

int FlightInfoHeight(const simplayer& p, int lh) {
  const playerhud& hud = p.hud;
  const int flags = (hud.show_velocity != 0) + (hud.show_height != 0) + (hud.show_heightmsl != 0) +
                    (hud.show_heading != 0) + (hud.show_rpm != 0) + (hud.show_fps != 0);
  return kFlightInfoBase + lh * flags + (ShowsRecording(p) ? kRecordingLines * lh : 0);
}

int FlightInfoLines(const simplayer& p, const simsession& s, hudline out[kFlightInfoLines]) {
  const bool imperial = s.settings.units == kUnitsImperial;
  const kxdflightstate* state = p.flight_state;
  const playerhud& hud = p.hud;
  int n = 0;
  auto next = [&](const float colour[3]) -> hudline& {
    SetColour(out[n], colour);
    return out[n++];
  };
  auto length = [&](int hud, float metres) {
    hudline& line = next(kWhite);
    if (imperial) FormatHud(line.text, "%s %3.1fft", HudText(hud), metres * kFeetPerMetre);
    else FormatHud(line.text, "%s %3.1fm", HudText(hud), metres);
  };
  if (hud.show_velocity) {
    hudline& line = next(kWhite);
    if (imperial) FormatHud(line.text, "%s %2.1fmph", HudText(kHudSpeed), hud.speed * kMphPerMs);
    else FormatHud(line.text, "%s %2.1fkm/h", HudText(kHudSpeed), hud.speed * kxmaths::kKmhPerMs);
  }
  if (hud.show_height) length(kHudHeight, hud.height_above_ground);
  if (hud.show_heightmsl) length(kHudAltitude, state ? state->position()[2] : 0.0f);
  if (hud.show_heading)
    FormatHud(next(kWhite).text, HudText(kHudHeading), Whole(hud.heading * kxmaths::kShownDegreesPerRadian));
  if (hud.show_rpm) FormatHud(next(kWhite).text, HudText(kHudRpm), Whole(state ? state->engine_rpm : 0.0f));
  if (hud.show_fps) FormatHud(next(kWhite).text, HudText(kHudFps), static_cast<double>(s.run.fps));
  if (p.recording.state == kRecording) {
    FormatHud(next(kRed).text, HudText(kHudRecording), Whole(p.recording.time));
    FormatHud(next(kRed).text, "%s", HudText(kHudPressStopRecording));
  } else if (p.recording.state == kRecordPlaying) {
    FormatHud(next(kGreen).text, HudText(kHudFlightLength), Whole(p.recording.header.length));
    FormatHud(next(kGreen).text, HudText(kHudPlaying), Whole(p.recording.time));
    FormatHud(next(kGreen).text, "%s", HudText(kHudPressStopPlayback));
  } else if (p.recording.present) {
    FormatHud(next(kYellow).text, HudText(kHudRecordedLength), Whole(p.recording.header.length));
    FormatHud(next(kYellow).text, HudText(kHudRecordedAircraft), p.recording.header.aircraft);
    FormatHud(next(kYellow).text, "%s", HudText(kHudPressPlay));
  }
  return n;
}

// ---- overlay titles and geometry

const char* OverlayTitle(cameraview type, const contestrec* contest) {
  switch (type.Overlay()) {
    case kCameraFlightInfo: return HudText(kHudTitleFlightInfo);
    case kCameraAircraft: return HudText(kHudTitleAircraft);
    case kCameraWind: return HudText(kHudTitleWind);
    case kCameraContest:
      switch (contest ? contest->kind : kContestNone) {
        case kContestPylonRace: return HudText(kHudTitlePylonRace);
        case kContestDragRace: return HudText(kHudTitleDragRace);
        case kContestBalloonPop: return HudText(kHudTitleBalloonPop);
        case kContestSpotLanding: return HudText(kHudTitleSpotLanding);
        default: return "dummy";
      }
    default: break;
  }
  switch (type.Scene()) {
    case kViewFollow: return HudText(kHudTitleFollow);
    case kViewFixed: return HudText(kHudTitleFixed);
    case kViewRecordFixed: return HudText(kHudTitleRecordFixed);
    case kViewRecordFollow: return HudText(kHudTitleRecordFollow);
    case kViewRecordCockpit: return HudText(kHudTitleRecordCockpit);
    default: return "dummy";
  }
}

float OverlayNear(float fov, const world& w) { return w.view_real * fov * fov + w.pilot_view_scale; }

int WindArrow(float wx, float wy, float R, float out[3][2]) {
  const float speed = std::sqrt(wx * wx + wy * wy);
  if (!(speed > kCalmWind) || !std::isfinite(speed)) return 0;
  const float d[2] = {-wy / speed, wx / speed};
  const float p[2] = {d[1], -d[0]};
  const float c[2] = {-kArrowPlace * R * d[0], -kArrowPlace * R * d[1]};
  const float a = kArrowSize * R * std::min(1.0f, speed / kFullArrowWind);
  // Counter-clockwise, so the window's face culling keeps it.
  for (int k = 0; k < 2; ++k) {
    out[0][k] = c[k] + a * d[k];
    out[1][k] = c[k] - a * d[k] - a * p[k];
    out[2][k] = c[k] - a * d[k] + a * p[k];
  }
  return 1;
}

void FromAboveView(const kxdflightstate& s, float out[16]) {
  float h[3], up[3] = {s.row_z()[0], s.row_z()[1], s.row_z()[2]}, right[3];
  for (int k = 0; k < 3; ++k) h[k] = s.row_x()[0] * s.row_x()[k] - s.row_x()[1] * s.row_y()[k];
  if (Normalise(h) < kFlatNose) {
    std::copy(s.row_y(), s.row_y() + 3, h);
    Normalise(h);
  }
  Cross(right, h, up);
  Normalise(right);
  // A camera looking down -Z with its left along -right and its up along h.
  const float X[3] = {-up[0], -up[1], -up[2]}, Y[3] = {-right[0], -right[1], -right[2]};
  ViewMatrix(s.position(), X, Y, h, out);
}

// ---- sun glare

int SunGlare(const float view[16], const float projection[16], const float eye[3], const float forward[3],
             const float sun[3], const float aircraft[3], sunglare* out) {
  // A point and its mirror through the eye land on the same screen point, so
  // the far point opposite the sun shows where the sun is.
  const float far[3] = {eye[0] - sun[0] * kSunDistance, eye[1] - sun[1] * kSunDistance,
                        eye[2] - sun[2] * kSunDistance};
  float sx = 0, sy = 0, ax = 0, ay = 0;
  if (!Project(view, projection, far, &sx, &sy) || !Project(view, projection, aircraft, &ax, &ay)) return 0;
  const float d = std::sqrt((sx - ax) * (sx - ax) + (sy - ay) * (sy - ay));
  if (!(d < kGlareReach) || !(Dot(forward, sun) > 0.0f)) return 0;
  *out = {sx, sy, std::max(0.0f, (kGlareReach - d) * kGlareStrength)};
  return 1;
}

// ---- the view

void DrawView(simplayer* player, int w, int h, float aspect, int vx, int vy) {
  if (!player || !kxgl::HasContext()) return;
  simplayer& p = *player;
  DrawScene(&p, p.viewer_position(), p.viewer_row_x(), p.viewer_row_y(), p.viewer_row_z(), aspect, p.view_zoom, 0, 1, 1);
  mainview m;
  std::copy(SceneView().view, SceneView().view + 16, m.view);
  std::copy(SceneView().projection, SceneView().projection + 16, m.projection);

  FlatState();
  ViewOrtho(w, h);
  glColor4f(1, 1, 1, 1);
  kxgl::SetFont(&small_font);
  Glare(p, m, w, h);
  if (p.view_mode == kViewCockpitInstruments) DrawInstrumentPanel(&p, w, h, aspect, vx, vy);
  FlatState();
  for (int i = simplayer::kCameras - 1; i >= 0; --i)
    if (p.camera[i].on) Overlay(p, i, m, w, h, vx, vy);
  glColor4f(1, 1, 1, 1);
}

}  // namespace sim
