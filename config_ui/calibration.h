// The calibration windows of one input device each: "DeviceGame" for a
// joystick, "DeviceRadio" for a USB interface cable or PadPilot. Each shows
// the device's calibrated channels as live bars and leads through three
// steps (centre the sticks; the centre is captured, then move them to their
// end stops; done) that fill the record's zero, minimum and maximum; Ok
// writes the device's calibration file, Cancel (and the close box) ends a
// calibration and restores what the record held when the window was opened.
// The transmitter window also tells whether a transmitter signal arrives.
#pragma once

#include <string>

#include "config_ui/node_watch.h"
#include "core/string.h"
#include "platform/input_devices.h"
#include "sim/device_nodes.h"
#include "sim/windows/window_functions.h"

class kxbutton;
class kxcolumn;
class kxdevicegame;
class kxlistitem;
class kxscroll;

// What the two windows share; each class below names its own widgets.
class kxwindowdevice : public simwindow, public svconfig::nodewatcher {
 public:
  static constexpr int kWidth = 360, kHeight = 270;  // px, not resizable

  enum class step { idle, centring, ranging };

  ~kxwindowdevice() override;

  // "Open( device node )", "CalibrationStart", "CalibrationZero",
  // "CalibrationFinish", "Ok", "Cancel", the texts, then the window's.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // Fills the window for a device node of the window's class: the rows, the
  // title, the calibration kept for Cancel; then captures the pointer, shows
  // itself centred and takes the keyboard focus. 0 (logged) for another node.
  int Open(kxnode* node);
  void CalibrationStart();
  void CalibrationZero();
  void CalibrationFinish();
  // Saves "config/<stem>.kxc" and hides.
  void Ok();
  // Restores the calibration the window was opened with and hides.
  void Cancel();

  step Step() const { return step_; }
  // The path of the device's calibration file; "" without a device.
  std::string CalibrationPath() const;

  kxcolumn* channels = nullptr;
  kxscroll* listArea = nullptr;
  kxlistitem* instruction = nullptr;
  kxdevicegame* device = nullptr;  // null without one; cleared when the node goes
  kxbutton* okButton = nullptr;    // out of the window while a calibration runs
  kxbutton* cancelButton = nullptr;
  kxbutton* calibrateButton = nullptr;
  kxstring Text1;  // instruction while centring
  kxstring Text2;  // instruction while ranging
  kxstring TextOk = "Ok";
  kxstring TextCalibrate = "  Calibrate  ";

 protected:
  // Node name; widget ids begin with prefix, "wdg" or "wdr"; title until a
  // device is shown.
  kxwindowdevice(const char* nodeName, const char* prefix, const char* title);
  // 1 when the node is a device this window calibrates.
  virtual int Accepts(kxnode* node) const = 0;
  // The label of channel c.
  virtual std::string Label(int c) const = 0;
  // The transmitter's end of step 3, before anything is shown.
  virtual void FinishRanging() {}
  void NodeGone(kxnode* node) override;

 private:
  // Back to idle: the device's capture and ranging stopped, the buttons and
  // texts of idle restored.
  void EndCalibration();
  void Restore();

  step step_ = step::idle;
  // The record's calibration when the window was opened for it.
  int savedZero_[kxinputdevice::kChannels] = {};
  int savedMinimum_[kxinputdevice::kChannels] = {};
  int savedMaximum_[kxinputdevice::kChannels] = {};
  int savedInvert_[kxinputdevice::kChannels] = {};
};

class kxwindowdevicegame : public kxwindowdevice {
 public:
  static kxtype Type;
  static constexpr int kLabels = 16;

  kxwindowdevicegame();

 protected:
  int Accepts(kxnode* node) const override;
  std::string Label(int c) const override;
};

class kxwindowdeviceradio : public kxwindowdevice, public sim::signaldisplay {
 public:
  static kxtype Type;
  // A channel whose captured centre lies closer than this to an end stop
  // (raw units) rests at that end: its centre becomes the range's middle.
  static constexpr int kMinHalfSpan = 500;

  kxwindowdeviceradio();

  // "TextNoSignal", "TextNumChannels", "TextJoyNumChannels", then the base's.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  kxinputdevice* SignalDevice() override;
  // 0: no signal, calibration refused until one arrives; otherwise the
  // number of channels received.
  void ShowSignal(int channels) override;

  kxstring TextNoSignal = "Warning: No transmitter signal detected!";
  static constexpr const char kDefaultNumChannels[] = "Transmitter with %d channels detected.";
  kxstring TextNumChannels = kDefaultNumChannels;
  kxstring TextJoyNumChannels = "Joystick with %d channels and %d buttons";  // kept for language files

 protected:
  int Accepts(kxnode* node) const override;
  std::string Label(int c) const override;
  void FinishRanging() override;
};

namespace svconfig {
// The channel-count message: format used only while its one conversion is
// the default's "%d", else the default text.
std::string ChannelCountText(const char* format, int channels);
}  // namespace svconfig
