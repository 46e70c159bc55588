// Runs arbitrary bytes as the UI description ("kxdisplay.kxd" in a private
// data folder, so windows that read their own section of it read these
// bytes too) with the widget and input types registered, then as a
// control-assignment script against a player's control mapper. The screen
// the description builds is laid out and gets a fixed round of pointer,
// key and timer events; the mapper's channels must stay finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "fuzz/input_file.h"
#include "gui/graphic.h"
#include "gui/gui.h"
#include "gui/window.h"
#include "platform/codes.h"
#include "platform/device_mapper.h"
#include "platform/input_types.h"
#include "platform/pinboard.h"

namespace {

constexpr const char* kDescription = "kxdisplay.kxd";
constexpr int kPlayerSlot = 2000;  // where player 1's mapper writes

// x, y as fractions of the screen, then the left button, as a mouse device
// publishes them.
float pointer[3] = {};
constexpr float kPoints[][2] = {{0.02f, 0.98f}, {0.5f, 0.5f}, {0.9f, 0.1f}, {0.3f, 0.7f}};
constexpr int kMouseCodes[] = {kxcode::kMouseMove,      kxcode::kMouseLeftDown,  kxcode::kMouseLeftUp,
                               kxcode::kMouseLeftDouble, kxcode::kMouseRightDown, kxcode::kMouseRightUp,
                               kxcode::kMouseWheelUp,    kxcode::kMouseWheelDown};
constexpr int kKeys[] = {'a', '1', kxcode::kKeyBackspace, kxcode::kKeyLeft, kxcode::kKeyDown,
                         kxcode::kKeyTab, kxcode::kKeyReturn, kxcode::kKeyEscape};
constexpr int kHoverTicks = 40;  // past the tool-tip delay

bool Setup() {
  kxcore::SetLogHandler([](const char*) {});
  if (!fuzzinput::EnterFolder()) return false;
  kxscript::Init();
  input::RegisterTypes();
  // The application registers this one; it reads its section of the
  // description, so the fuzzed bytes reach it too.
  kxtype::RegisterDerived(&kxwindowobjectedit::Type, &kxwindow::Type);
  return true;
}

void Events() {
  if (!kxgui::Visible) kxgui::Visible = kxgraphic::Of(kxnode::Find("/Display/Visible/"));
  kxgui::Frame();
  for (const auto& point : kPoints) {
    pointer[0] = point[0];
    pointer[1] = point[1];
    kxgui::PointingDevice = pointer;
    for (int code : kMouseCodes) kxgui::OnMouse(code, 0);
    for (int key : kKeys) kxgui::OnKey(key, 0);
    for (int i = 0; i < kHoverTicks; ++i) kxgui::OnTimer();
    input::Dispatch(kxcode::kTimerEvent, 0, 0);
    kxgui::Frame();
  }
}

void CheckMapper(const char* path) {
  auto* board = new kxpinboard;
  board->name = "FuzzBoard";
  kxscript::Root()->AppendChild(board);
  auto* mapper = new kxdevicemapper;
  mapper->name = "Player";
  board->AppendChild(mapper);
  if (!mapper->PlugIn(kPlayerSlot, 0)) std::abort();
  kxscript::ReadFile(path, mapper);
  input::Update();
  board->Update();
  for (int f = 0; f < kxdevicemapper::kFunctions; ++f) {
    if (!std::isfinite(board->slots[kPlayerSlot + f])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = Setup();
  if (!ready) return 0;
  fuzzinput::file input(kDescription, data, size);
  if (!input.Path()) return 0;

  // The widget roots are made anew for each input: the last one may have
  // renamed, moved or filled them.
  kxgui::RegisterTypes();
  kxscript::ReadFile(kDescription, kxscript::Root());
  Events();
  CheckMapper(kDescription);

  kxgui::PointingDevice = nullptr;
  kxgui::Visible = nullptr;
  kxscript::Root()->DeleteChildren();
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
