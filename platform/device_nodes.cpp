#include "platform/device_nodes.h"

#include "platform/input_devices.h"

kxtype kxdevicegame::Type{"kxdevicegame", sizeof(kxdevicegame), kxcreate<kxdevicegame>};
kxtype kxdevicetransmitter::Type{"kxdevicetransmitter", sizeof(kxdevicetransmitter),
                                 kxcreate<kxdevicetransmitter>};

// ---- joystick -----------------------------------------------------------------------

kxdevicegame::kxdevicegame() {
  type = &Type;
  channels = kChannels;
}

kxdevicegame::kxdevicegame(kxinputdevice* record) : kxdevicegame() { device = record; }

void kxdevicegame::CopyTo(kxnode* other) {
  kxdevicegame* g = static_cast<kxdevicegame*>(other);
  g->stem = stem;
  g->device = device;
  g->calibrating = calibrating;
  g->capture = capture;
  kxdevice::CopyTo(other);
}

void kxdevicegame::WriteOutputs() {
  if (!outputs) return;
  for (int c = 0; c < channels && c < kChannels; ++c) outputs[c] = kxinput::MapChannel(device, c);
}

int kxdevicegame::Present() const { return device && device->listed ? 1 : 0; }

void kxdevicegame::Update() {
  if (!device) return;
  if (capture > 0) {
    // The centre is the last of the samples; no outputs meanwhile.
    kxinput::CalibrationStart(device);
    --capture;
    return;
  }
  if (calibrating) kxinput::CalibrationUpdate(device);
  else kxinput::PollDevice(device);
  WriteOutputs();
}

// ---- transmitter ------------------------------------------------------------------------

kxdevicetransmitter::kxdevicetransmitter() { type = &Type; }

kxdevicetransmitter::kxdevicetransmitter(kxinputdevice* record) : kxdevicetransmitter() { device = record; }

void kxdevicetransmitter::CopyTo(kxnode* other) {
  kxdevicetransmitter* t = static_cast<kxdevicetransmitter*>(other);
  for (int c = 0; c < kChannels; ++c) t->sums[c] = sums[c];
  kxdevicegame::CopyTo(other);
}

void kxdevicetransmitter::Update() {
  if (!device) return;
  if (capture > 0) {
    // The centre is the rounded mean of the samples; the end stops keep the
    // first sample until the ranging that follows widens them.
    if (capture != left_) {
      kxinput::CalibrationStart(device);
      for (long long& s : sums) s = 0;
    }
    for (int c = 0; c < kChannels; ++c) sums[c] += device->raw[c];
    left_ = --capture;
    if (capture == 0) {
      // Integer sums divided once: a mean ending in .5 rounds up exactly,
      // where adding twenty rounded twentieths could land just below it.
      for (int c = 0; c < kChannels; ++c) {
        device->zero[c] = static_cast<int>(static_cast<double>(sums[c]) / kCaptureUpdates + 0.5);
      }
    }
    return;
  }
  left_ = 0;
  if (calibrating) kxinput::CalibrationUpdate(device);
  WriteOutputs();
}
