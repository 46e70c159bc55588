#include "platform/usb_transport.h"

#include <hidapi/hidapi.h>

#include <chrono>
#include <cwchar>

// ---- hidapi transport -------------------------------------------------------

namespace {

// hidapi gives wide strings; a device name is shown with the GUI's ASCII
// fonts, so anything beyond printable ASCII becomes "?".
std::string Narrow(const wchar_t* text) {
  std::string out;
  if (!text) return out;
  for (; *text; ++text) out += (*text >= 32 && *text < 127) ? static_cast<char>(*text) : '?';
  return out;
}

class hidconnection : public usbconnection {
 public:
  explicit hidconnection(hid_device* device) : device_(device) {}
  ~hidconnection() override { hid_close(device_); }
  int Read(uint8_t* buffer, int size, int timeoutMs) override {
    int n = hid_read_timeout(device_, buffer, static_cast<size_t>(size), timeoutMs);
    return n < 0 ? -1 : n;
  }
  int Write(const uint8_t* buffer, int size) override {
    // hidraw wants the report id first; these devices use none (0).
    uint8_t report[1 + usbinterface::kReportBytes] = {};
    if (size > usbinterface::kReportBytes) size = usbinterface::kReportBytes;
    for (int i = 0; i < size; ++i) report[1 + i] = buffer[i];
    int n = hid_write(device_, report, sizeof report);
    return n == static_cast<int>(sizeof report) ? 1 : 0;
  }

 private:
  hid_device* device_;
};

class hidtransport : public usbtransport {
 public:
  void Enumerate(uint16_t vendorId, uint16_t productId, std::vector<usbdeviceinfo>& out) override {
    if (!Init()) return;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (hid_device_info* d = list; d; d = d->next) {
      usbdeviceinfo info;
      info.path = d->path ? d->path : "";
      info.product = Narrow(d->product_string);
      info.product_id = d->product_id;
      out.push_back(info);
    }
    hid_free_enumeration(list);
  }
  std::unique_ptr<usbconnection> Open(const char* path) override {
    if (!Init() || !path) return nullptr;
    hid_device* device = hid_open_path(path);
    if (!device) return nullptr;
    return std::make_unique<hidconnection>(device);
  }

 private:
  bool Init() {
    if (!initialised_) initialised_ = hid_init() == 0;
    return initialised_;
  }
  bool initialised_ = false;
};

}  // namespace

usbtransport* usbhidtransport() {
  static hidtransport transport;
  return &transport;
}

// ---- scripted fake ------------------------------------------------------------

class usbfakeconnection : public usbconnection {
 public:
  usbfakeconnection(usbfaketransport* owner, int index) : owner_(owner), index_(index) {}
  int Read(uint8_t* buffer, int size, int timeoutMs) override {
    std::unique_lock<std::mutex> lock(owner_->mutex_);
    usbfaketransport::device& d = owner_->devices_[static_cast<size_t>(index_)];
    owner_->changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return d.disconnected || !d.reports.empty(); });
    if (d.disconnected) return -1;
    if (d.reports.empty()) return 0;
    std::vector<uint8_t> report = std::move(d.reports.front());
    d.reports.pop_front();
    int n = static_cast<int>(report.size()) < size ? static_cast<int>(report.size()) : size;
    for (int i = 0; i < n; ++i) buffer[i] = report[static_cast<size_t>(i)];
    owner_->changed_.notify_all();  // Pending() waiters
    return n;
  }
  int Write(const uint8_t* buffer, int size) override {
    std::lock_guard<std::mutex> lock(owner_->mutex_);
    usbfaketransport::device& d = owner_->devices_[static_cast<size_t>(index_)];
    if (d.failWrites || d.disconnected) return 0;
    d.commands.emplace_back(buffer, buffer + size);
    return 1;
  }

 private:
  usbfaketransport* owner_;
  int index_;
};

int usbfaketransport::AddDevice(const char* path, const char* product, uint16_t productId) {
  std::lock_guard<std::mutex> lock(mutex_);
  device d;
  d.info.path = path;
  d.info.product = product ? product : "";
  d.info.product_id = productId;
  devices_.push_back(std::move(d));
  return static_cast<int>(devices_.size()) - 1;
}

void usbfaketransport::Queue(int index, const std::vector<uint8_t>& report) {
  std::lock_guard<std::mutex> lock(mutex_);
  devices_[static_cast<size_t>(index)].reports.push_back(report);
  changed_.notify_all();
}

void usbfaketransport::Disconnect(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  device& d = devices_[static_cast<size_t>(index)];
  d.disconnected = true;
  d.present = false;
  changed_.notify_all();
}

void usbfaketransport::Replug(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  device& d = devices_[static_cast<size_t>(index)];
  d.disconnected = false;
  d.present = true;
  d.reports.clear();
}

void usbfaketransport::FailWrites(int index, bool fail) {
  std::lock_guard<std::mutex> lock(mutex_);
  devices_[static_cast<size_t>(index)].failWrites = fail;
}

size_t usbfaketransport::Pending(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  return devices_[static_cast<size_t>(index)].reports.size();
}

std::vector<std::vector<uint8_t>> usbfaketransport::Commands(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  return devices_[static_cast<size_t>(index)].commands;
}

int usbfaketransport::Opens(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  return devices_[static_cast<size_t>(index)].opens;
}

void usbfaketransport::Enumerate(uint16_t vendorId, uint16_t productId, std::vector<usbdeviceinfo>& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (vendorId != usbinterface::kVendorIdPlaceholder) return;
  for (const device& d : devices_) {
    if (d.present && d.info.product_id == productId) out.push_back(d.info);
  }
}

std::unique_ptr<usbconnection> usbfaketransport::Open(const char* path) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (size_t i = 0; i < devices_.size(); ++i) {
    device& d = devices_[i];
    if (d.present && !d.disconnected && d.info.path == path) {
      ++d.opens;
      return std::make_unique<usbfakeconnection>(this, static_cast<int>(i));
    }
  }
  return nullptr;
}
