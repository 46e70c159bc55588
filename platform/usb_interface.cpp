#include "platform/usb_interface.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/codes.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/usb_decoders.h"
#include "platform/usb_ring.h"

// One open device. The reader thread owns nothing but the ring (under the
// lock) and the two flags; it never logs, so a failing device cannot flood the
// log from another thread.
struct usbdevicestate {
  std::unique_ptr<usbconnection> connection;
  std::mutex lock;
  usbreportring ring{usbinterface::kRingReports};  // guarded by lock
  std::atomic<bool> gone{false};   // the reader saw a read error and ended
  std::atomic<bool> stop{false};   // asks the reader to end
  std::thread reader;
  cableframe frame;                // main thread only
  uint8_t batch[usbinterface::kPollReports * usbinterface::kReportBytes];  // main thread only
};

namespace usbinterface {

decodersettings settings;

namespace {

usbtransport* transport = nullptr;

void ReaderLoop(usbdevicestate* state) {
  uint8_t report[kReportBytes];
  while (!state->stop.load()) {
    for (uint8_t& b : report) b = 0;
    int n = state->connection->Read(report, kReportBytes, kReadTimeoutMs);
    if (n < 0) {
      state->gone.store(true);
      return;
    }
    if (n == 0) continue;
    std::lock_guard<std::mutex> guard(state->lock);
    state->ring.Push(report);
  }
}

int SendCommand(kxinputdevice* device, uint8_t command) {
  if (!device->usb) return 0;
  uint8_t bytes[kReportBytes] = {command};
  if (device->usb->connection->Write(bytes, kReportBytes)) return 1;
  kxsystem::Log("usbinterface:  command %d to %s=fail\n", command, device->name.Text());
  return 0;
}

// Ends the reader and closes the device; the record keeps its values.
void Release(kxinputdevice* device) {
  usbdevicestate* state = device->usb;
  if (!state) return;
  state->stop.store(true);
  if (state->reader.joinable()) state->reader.join();
  delete state;
  device->usb = nullptr;
}

}  // namespace

void SetTransport(usbtransport* t) { transport = t; }

usbtransport* Transport() { return transport ? transport : usbhidtransport(); }

int Open(kxinputdevice* device) {
  if (!device) return 0;
  // A device whose reader failed is closed and opened afresh.
  if (device->usb && device->usb->gone.load()) Close(device);
  if (device->usb) return 1;  // already open
  std::unique_ptr<usbconnection> connection = Transport()->Open(device->key.c_str());
  if (!connection) {
    kxsystem::Log("usbinterface:  open %s=fail\n", device->name.Text());
    return 0;
  }
  usbdevicestate* state = new usbdevicestate;
  state->connection = std::move(connection);
  device->usb = state;
  if (device->subkind == kxcode::kDevicePadPilot) device->channel_count = kxinput::kPadPilotChannels;
  else device->channel_count = 0;
  state->reader = std::thread(ReaderLoop, state);
  SendCommand(device, kCommandStart);
  return 1;
}

void Close(kxinputdevice* device) {
  if (!device || !device->usb) return;
  if (!device->usb->gone.load()) SendCommand(device, kCommandStop);
  Release(device);
}

int SendStart(kxinputdevice* device) { return device && device->usb ? SendCommand(device, kCommandStart) : 0; }

int IsOpen(const kxinputdevice* device) { return device && device->usb && !device->usb->gone.load() ? 1 : 0; }

long DroppedReports(const kxinputdevice* device) {
  if (!device || !device->usb) return 0;
  std::lock_guard<std::mutex> guard(device->usb->lock);
  return device->usb->ring.Dropped();
}

int QueuedReports(const kxinputdevice* device) {
  if (!device || !device->usb) return 0;
  std::lock_guard<std::mutex> guard(device->usb->lock);
  return device->usb->ring.Count();
}

int Poll(kxinputdevice* device) {
  if (!device || device->kind != kxcode::kDeviceUsb || !device->usb) return 0;
  usbdevicestate* state = device->usb;
  int n;
  bool gone;
  {
    std::lock_guard<std::mutex> guard(state->lock);
    n = state->ring.Take(state->batch, kPollReports);
    gone = state->gone.load() && state->ring.Count() == 0;
  }
  for (int i = 0; i < n; ++i) {
    const uint8_t* report = state->batch + static_cast<size_t>(i) * kReportBytes;
    if (device->subkind == kxcode::kDevicePadPilot) DecodePadPilotReport(device, report, settings);
    else DecodeCableReport(device, &state->frame, report, settings);
  }
  if (!gone) return 1;
  Release(device);
  kxinput::Neutralise(device);
  kxsystem::Log("usbinterface:  %s lost\n", device->name.Text());
  return 0;
}

}  // namespace usbinterface
