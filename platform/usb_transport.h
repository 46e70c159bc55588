// The seam between the USB interface code and the HID devices: enumerate by
// vendor and product id, open, read and write 8-byte reports. The real
// transport uses hidapi's hidraw back end; the scripted fake plays reports,
// disconnects and records commands so the reader threads can be tested
// without hardware.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace usbinterface {

// The hardware's ids are not known to this program yet; these stand in for
// them and are the only place that names them.
constexpr uint16_t kVendorIdPlaceholder = 0xFFF1;
constexpr uint16_t kCableProductIdPlaceholder = 0x0001;
constexpr uint16_t kPadPilotProductIdPlaceholder = 0x0002;

constexpr int kReportBytes = 8;   // input reports and commands alike
constexpr int kReadTimeoutMs = 100;

}  // namespace usbinterface

// One device found by an enumeration.
struct usbdeviceinfo {
  std::string path;     // identifies the device while it stays plugged in
  std::string product;  // HID product string, may be empty
  uint16_t product_id = 0;
};

// An open device. Read and Write may be called from different threads.
class usbconnection {
 public:
  virtual ~usbconnection() = default;  // closes the device
  // Bytes read (at most size), 0 when the timeout passed, -1 when the device
  // is gone.
  virtual int Read(uint8_t* buffer, int size, int timeoutMs) = 0;
  // 1 when the whole command went out, else 0.
  virtual int Write(const uint8_t* buffer, int size) = 0;
};

class usbtransport {
 public:
  virtual ~usbtransport() = default;
  virtual void Enumerate(uint16_t vendorId, uint16_t productId, std::vector<usbdeviceinfo>& out) = 0;
  // Null when the device cannot be opened.
  virtual std::unique_ptr<usbconnection> Open(const char* path) = 0;
};

// The hidapi transport; the process's one instance.
usbtransport* usbhidtransport();

// A scripted transport for tests: devices are added by hand, each with a
// queue of reports its connection hands out, a disconnect switch and the list
// of commands written to it.
class usbfaketransport : public usbtransport {
 public:
  struct device {
    usbdeviceinfo info;
    std::deque<std::vector<uint8_t>> reports;
    std::vector<std::vector<uint8_t>> commands;
    bool disconnected = false;
    bool present = true;     // listed by Enumerate
    bool failWrites = false;
    int opens = 0;
  };

  // Adds a device and returns its index.
  int AddDevice(const char* path, const char* product, uint16_t productId);
  void Queue(int device, const std::vector<uint8_t>& report);
  // The cable was pulled: reads fail and enumerations no longer list it.
  void Disconnect(int device);
  // Plugged in again: listed and readable, its queue empty.
  void Replug(int device);
  void FailWrites(int device, bool fail);
  // Reports still waiting to be read.
  size_t Pending(int device);
  std::vector<std::vector<uint8_t>> Commands(int device);
  int Opens(int device);

  void Enumerate(uint16_t vendorId, uint16_t productId, std::vector<usbdeviceinfo>& out) override;
  std::unique_ptr<usbconnection> Open(const char* path) override;

 private:
  friend class usbfakeconnection;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<device> devices_;
};
