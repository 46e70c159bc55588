// The device nodes of real input devices: a joystick (kxdevicegame) or a USB
// interface cable or PadPilot (kxdevicetransmitter) publishing 12 calibrated
// channels, and capturing the centre and end stops while the calibration
// windows ask for it.
#pragma once

#include "core/string.h"
#include "platform/pinboard.h"

struct kxinputdevice;

class kxdevicegame : public kxdevice {
 public:
  static kxtype Type;
  static constexpr int kChannels = 12;
  static constexpr int kCaptureUpdates = 20;  // updates the centre capture lasts

  kxdevicegame();  // made by script: no record, does nothing
  explicit kxdevicegame(kxinputdevice* record);
  void CopyTo(kxnode* other) override;
  void Update() override;
  // While its record is listed: a device unplugged since the search is not.
  int Present() const override;

  kxstring stem;                  // calibration file stem, "joystick0"
  kxinputdevice* device = nullptr;
  int calibrating = 0;            // 1: widen the end stops each update
  int capture = 0;                // updates of centre capture still to run

 protected:
  void WriteOutputs();
};

// Shares the joystick node's fields; its type derives from "kxdevice" only,
// so a type test for "kxdevicegame" finds joysticks alone.
class kxdevicetransmitter : public kxdevicegame {
 public:
  static kxtype Type;

  kxdevicetransmitter();
  explicit kxdevicetransmitter(kxinputdevice* record);
  void CopyTo(kxnode* other) override;
  void Update() override;

  // Sums of the raw samples captured so far.
  long long sums[kChannels] = {};

 private:
  // capture as the last update left it: a capture set anew (also after one
  // was cut short from outside) starts again from its first sample.
  int left_ = 0;
};
