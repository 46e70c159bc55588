#include "config_ui/input_devices.h"

#include <cstring>

#include "config_ui/calibration.h"
#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/reference.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"
#include "platform/device_nodes.h"
#include "platform/input_devices.h"
#include "platform/pinboard.h"
#include "sim/device_nodes.h"
#include "sim/windows/window_functions.h"

kxtype kxwindowinputdevices::Type("kxwindowinputdevices", sizeof(kxwindowinputdevices), kxcreate<kxwindowinputdevices>);

namespace {

using svconfig::Add;
using svconfig::kButtonLine;
using svconfig::kListInset;

constexpr int kOkRight = 10, kPropertiesX = 10, kPropertiesWidth = 90, kRefreshX = 110;
constexpr int kListY = 46, kListTop = 24, kScrollTop = 20;
constexpr int kNameWidth = 160, kStatusX = 161, kStatusWidth = 120, kCountX = 281, kCountWidth = 114;
constexpr int kCountTextWidth = 110, kCountCellWidth = 112;
constexpr kxcolor4 kListColour = {1, 1, 1, 1};

// The cells sit five levels below the window: cell, row, column, scroll, frame.
constexpr const char kSelectCommand[] = "../../../../../Select( ../ )";
constexpr const char kPropertiesCommand[] = "../../../../../OpenProperties";

constexpr int kSearchAgain = kxinput::kSearchEnumerate | kxinput::kSearchRequery;

bool IsDeviceNode(kxnode* node) { return kxnode::As<kxdevicegame>(node) || kxnode::As<kxdevicetransmitter>(node); }

}  // namespace

kxwindowinputdevices::kxwindowinputdevices() {
  type = &Type;
  Fixed("InputDevices", "Input Devices", kWidth, kHeight, "");
  sim::AddButton(this, 0, kButtonLine, 0, 0, kOkRight, 0, "Ok", "../Hide", "widok");
  sim::AddButton(this, kPropertiesX, kButtonLine, kPropertiesWidth, 0, 0, 0, "Properties", "../OpenProperties",
                 "widprop");
  sim::AddButton(this, kRefreshX, kButtonLine, 0, 0, 0, 0, "Refresh", "../RefreshDevices", "widrefresh");
  kxframe* frame = sim::AddFrame(this, kListInset, kListY, 0, 0, kListInset, kListTop);
  svconfig::AddHeaderCell(frame, "widdevice", "Device", 1, kNameWidth, kNameWidth);
  svconfig::AddHeaderCell(frame, "widstatus", "Status", kStatusX, kStatusWidth, kStatusWidth);
  svconfig::AddHeaderCell(frame, "widchannels", "Channels", kCountX, kCountWidth, kCountTextWidth);
  listArea = svconfig::AddListScroll(frame, kScrollTop, kListColour, &devices);
}

kxvalueptr kxwindowinputdevices::GetMember(const char* member, const kxargs& args) {
  using window = kxwindowinputdevices;
  static const svconfig::member<window> kMembers[] = {
      {"Open", svconfig::Command<window, &window::Open>},
      {"OpenProperties", svconfig::Command<window, &window::OpenProperties>},
      {"RefreshDevices", svconfig::Command<window, &window::RefreshDevices>},
      {"Select", [](window& w, const kxargs& a) { w.Select(a.Node(0)); return kxvoid(); }},
      {"Pinboard",
       [](window& w, const kxargs&) { return kxvalueptr(new kxnodeptrref(&w.pinboard, &kxpinboard::Type)); }},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

void kxwindowinputdevices::Open() {
  RefreshList();
  kxtree::ResetSelection(listArea);
  sim::ShowWindow(this);
}

void kxwindowinputdevices::RefreshList() {
  selection = nullptr;
  if (!devices) return;
  devices->DeleteChildren();
  kxpinboard* board = kxnode::As<kxpinboard>(pinboard);
  for (kxnode* node = board ? board->firstChild : nullptr; node; node = node->nextSibling) {
    if (!IsDeviceNode(node)) continue;
    kxrow* row = Add(devices, new kxrow, node->name.Text());
    if (!row) break;
    kxstring count;
    count.SetInt(static_cast<kxdevice*>(node)->channels);
    svconfig::AddCell(row, node->name.Text(), kNameWidth, kSelectCommand, kPropertiesCommand);
    svconfig::AddCell(row, "ok", kStatusWidth, kSelectCommand, kPropertiesCommand);
    svconfig::AddCell(row, count.Text(), kCountCellWidth, kSelectCommand, kPropertiesCommand);
  }
  Select(devices->firstChild);
}

int kxwindowinputdevices::Select(kxnode* row) {
  kxrow* r = kxnode::As<kxrow>(row);
  if (!r) return 0;
  selection = r;
  Recolour();
  return 1;
}

void kxwindowinputdevices::Recolour() {
  for (kxnode* n = devices ? devices->firstChild : nullptr; n; n = n->nextSibling) {
    kxrow* row = kxnode::As<kxrow>(n);
    if (!row) break;
    svconfig::PaintRow(row, row == selection);
  }
}

void kxwindowinputdevices::OpenProperties() {
  kxpinboard* board = kxnode::As<kxpinboard>(pinboard);
  if (!board || !selection) return;
  kxnode* device = nullptr;
  for (kxnode* node = board->firstChild; node && !device; node = node->nextSibling) {
    if (IsDeviceNode(node) && node->name == selection->name) device = node;
  }
  if (!device) return;
  // The calibration windows are found only while they are hidden.
  kxwindowdevice* window = nullptr;
  if (kxnode::As<kxdevicegame>(device))
    window = kxnode::As<kxwindowdevicegame>(kxnode::Find("/Display/Invisible/DeviceGame/"));
  else
    window = kxnode::As<kxwindowdeviceradio>(kxnode::Find("/Display/Invisible/DeviceRadio/"));
  Hide();
  if (window) window->Open(device);
}

void kxwindowinputdevices::RefreshDevices() {
  kxinput::SearchDevices(kSearchAgain);
  sim::BuildDeviceNodes();
  RefreshList();
}

void kxwindowinputdevices::NodeGone(kxnode* node) {
  if (node == pinboard) pinboard = nullptr;
  if (node == selection) selection = nullptr;
}
