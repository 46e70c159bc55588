#include "sim/views/contest_display.h"

#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "sim/fonts.h"
#include "sim/hud_texts.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/text.h"
#include "sim/world/contest_record.h"

namespace sim {
namespace {

// Head-up texts of the contest display.
enum : int {
  kHudTime = 14,
  kHudBest = 15,
  kHudTimeIsUp = 16,
  kHudRemaining = 17,
  kHudNoRecord = 18,
  kHudDisqualified = 19,
  kHudBalloonsLeft = 20,
  kHudBalloonsPopped = 21,
  kHudRoundsToGo = 22,
  kHudPylonToClear = 23,
  kHudBestScore = 24,
  kHudNoBestScore = 25,
  kHudLastAttempt = 26,
  kHudInvalidAttempt = 27,
  kHudLandingHint = 28,
  kHudPressEnter = 29,
  kHudNewRecord = 30,
  kHudWinner = 31,
  kHudPylonMissed = 32,
};

constexpr int kCountdownEnd = -1000;   // ms: "Get Ready" from here
constexpr int kGoEnd = 1000;           // ms: "GO" until here
constexpr int kInvalidPoints = -1;     // last attempt outside the landing area
constexpr float kWhite[3] = {1, 1, 1};
constexpr float kYellow[3] = {1, 1, 0};
constexpr float kGreen[3] = {0, 1, 0};

hudline* AddLine(contesttexts* out, const float colour[3]) {
  if (out->count >= contesttexts::kMaxLines) return nullptr;
  hudline& line = out->lines[out->count++];
  line.text[0] = 0;
  for (int i = 0; i < 3; ++i) line.colour[i] = colour[i];
  return &line;
}

template <class... Args>
void Line(contesttexts* out, const float colour[3], int hud, Args... args) {
  if (hudline* line = AddLine(out, colour)) FormatHud(line->text, HudText(hud), args...);
}

void EmptyLine(contesttexts* out) { AddLine(out, kWhite); }

// The last spot-landing attempt; nothing when there is none to show.
void LastAttempt(const simplayer& p, char (&out)[hudline::kChars]) {
  out[0] = 0;
  if (p.contest.last_points >= 0) FormatHud(out, HudText(kHudLastAttempt), p.contest.last_points);
  else if (p.contest.last_points == kInvalidPoints) FormatHud(out, "%s", HudText(kHudInvalidAttempt));
}

// The pylon the player passes next, counted from 1; 0 when there is none.
int PylonNumber(const contestrec& c, const simplayer& p) {
  const pylonrec* next = p.contest.pylon;
  if (!next || next < c.pylons || next >= c.pylons + contestrec::kMaxPylons) return 0;
  return static_cast<int>(next - c.pylons) + 1;
}

void KindLines(const contestrec& c, const simplayer& p, contesttexts* out) {
  switch (c.kind) {
    case kContestPylonRace:
      if (p.contest.phase == kContestFlying) {
        Line(out, kWhite, kHudRoundsToGo, p.contest.rounds_left);
        // A race without pylons has no gate to name.
        if (int pylon = PylonNumber(c, p)) Line(out, kWhite, kHudPylonToClear, pylon);
        else EmptyLine(out);
      } else {
        EmptyLine(out);
        EmptyLine(out);
      }
      break;
    case kContestBalloonPop:
      if (c.balloons_left > 0) Line(out, kWhite, kHudBalloonsLeft, c.balloons_left);
      Line(out, kWhite, kHudBalloonsPopped, p.contest.score);
      break;
    case kContestSpotLanding: {
      if (c.best_points < 1) Line(out, kWhite, kHudNoBestScore);
      else Line(out, kWhite, kHudBestScore, c.best_points);
      char attempt[hudline::kChars];
      LastAttempt(p, attempt);
      hudline* line = attempt[0] ? AddLine(out, kWhite) : nullptr;
      if (line) FormatHud(line->text, "%s", attempt);
      if (p.contest.hint) Line(out, kGreen, kHudLandingHint);
      break;
    }
    default:
      break;
  }
}

// The large message of a running contest while the race goes on or is over.
void ResultMessage(const contestrec& c, const simplayer& p, const simsession& s, int t, char (&out)[hudline::kChars]) {
  int sec = 0, hund = 0;
  ContestClock(t, &sec, &hund);
  if (p.contest.phase == kContestFlying) {
    if (c.kind == kContestPylonRace && p.contest.pylons_missed >= 1) FormatHud(out, "%s", HudText(kHudPylonMissed));
    if (c.kind == kContestSpotLanding && !p.contest.hint) LastAttempt(p, out);
  } else if (p.contest.phase == kContestFinished) {
    const bool best = t == c.best_time;
    if (s.run.player_count < 2) FormatHud(out, HudText(best ? kHudNewRecord : kHudTime), sec, hund);
    else if (best) FormatHud(out, HudText(kHudBest), sec, hund);
    else FormatHud(out, HudText(c.winner == &p ? kHudWinner : kHudTime), sec, hund);
  }
}

void Message(const contestrec& c, const simplayer& p, const simsession& s, char (&out)[hudline::kChars]) {
  const int t = p.contest.time;
  int sec = 0, hund = 0;
  ContestClock(t, &sec, &hund);
  if (t < kCountdownEnd) FormatHud(out, "%d seconds to go", 1 - sec);
  else if (t < 0) FormatHud(out, "Get Ready");
  else if (t < kGoEnd) FormatHud(out, "GO");
  else ResultMessage(c, p, s, t, out);
}

}  // namespace

void ContestClock(int ms, int* seconds, int* hundredths) {
  *seconds = ms / 1000;
  *hundredths = ms / 10 - 100 * *seconds;
}

void ContestTexts(const contestrec& c, const simplayer& p, const simsession& s, contesttexts* out) {
  out->count = 0;
  out->message[0] = 0;
  if (!c.running) Line(out, kYellow, kHudPressEnter);
  KindLines(c, p, out);
  if (c.best_time >= 1) {
    int sec = 0, hund = 0;
    ContestClock(c.best_time, &sec, &hund);
    Line(out, kWhite, kHudBest, sec, hund);
  } else {
    Line(out, kWhite, kHudNoRecord);
  }
  if (!c.running) return;

  const bool messages = !s.run.pause;
  if (p.contest.phase == kContestTimeOver || p.contest.phase == kContestFalseStart) {
    if (messages) FormatHud(out->message, "%s", HudText(p.contest.phase == kContestTimeOver ? kHudTimeIsUp : kHudDisqualified));
    return;
  }
  const int t = p.contest.time;
  if (t >= 0) {
    int sec = 0, hund = 0;
    ContestClock(t, &sec, &hund);
    if (c.kind == kContestBalloonPop) Line(out, kWhite, kHudRemaining, s.settings.contest_balloonpop_time - sec - 1, 99 - hund);
    else Line(out, kWhite, kHudTime, sec, hund);
  }
  if (messages) Message(c, p, s, out->message);
}

void DrawContestInfo(const contestrec* contest, const simplayer* player, int x, int y, int centreX, int halfHeight) {
  if (!contest || !player || !kxgl::HasContext()) return;
  contesttexts texts;
  ContestTexts(*contest, *player, session, &texts);
  const kxglfont* small = kxgl::currentFont;
  const int lh = small ? small->lineHeight : 0;
  glEnable(GL_TEXTURE_2D);
  for (int i = 0; i < texts.count; ++i) {
    const hudline& line = texts.lines[i];
    glColor4f(line.colour[0], line.colour[1], line.colour[2], 1);
    DrawTextAtBaseline(x, y - i * lh, line.text);
  }
  glColor4f(1, 1, 1, 1);
  if (!texts.message[0]) return;
  kxglfont* previous = kxgl::currentFont;
  kxgl::SetFont(&large_font);
  DrawTextAtBaseline(centreX - kxgl::TextWidth(texts.message) / 2, halfHeight / 2, texts.message);
  kxgl::SetFont(previous);
}

}  // namespace sim
