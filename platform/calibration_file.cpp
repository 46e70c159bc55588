// Calibration files: a header "kxcalibration <lines>", then one line per
// channel "<channel> <zero> <minimum> <maximum> <invert>". Lines starting
// with "//" are comments.
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "core/output.h"
#include "core/text_lines.h"
#include "platform/codes.h"
#include "platform/files.h"
#include "platform/input_devices.h"
#include "platform/log.h"

namespace kxinput {

namespace {

constexpr const char* kHeaderWord = "kxcalibration";
constexpr int kUsbFileChannels = 12;
constexpr int kJoystickFileChannels = 16;

// Reads one integer field; the text must hold nothing else but blanks
// between fields.
bool ReadInt(const char*& p, int& out) {
  while (*p == ' ' || *p == '\t') ++p;
  long long v = 0;
  size_t n = kxnumber::ReadLeadingInt(p, v);
  if (!n || v < INT_MIN || v > INT_MAX) return false;
  if (p[n] && p[n] != ' ' && p[n] != '\t') return false;
  p += n;
  out = static_cast<int>(v);
  return true;
}

bool AtEnd(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return *p == 0;
}

/*
 * The lines are parsed into a copy of the tables, which replaces the
 * record's only when the header was seen: a file that is not a calibration
 * file changes nothing. Lines that would flip an output's sign (minimum above
 * zero, zero above maximum) are refused rather than loaded.
 */
class calibrationreader {
 public:
  explicit calibrationreader(const kxinputdevice* device) {
    std::memcpy(zero_, device->zero, sizeof zero_);
    std::memcpy(minimum_, device->minimum, sizeof minimum_);
    std::memcpy(maximum_, device->maximum, sizeof maximum_);
    std::memcpy(invert_, device->invert, sizeof invert_);
  }

  void Line(const char* line) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p || (p[0] == '/' && p[1] == '/')) return;
    if (!header_) {
      size_t n = std::strlen(kHeaderWord);
      int count = 0;
      const char* q = p + n;
      if (std::strncmp(p, kHeaderWord, n) == 0 && (*q == ' ' || *q == '\t') && ReadInt(q, count) && AtEnd(q)) {
        header_ = true;
      } else {
        ++skipped_;
      }
      return;
    }
    int channel, zero, low, high, invert;
    if (!ReadInt(p, channel) || !ReadInt(p, zero) || !ReadInt(p, low) || !ReadInt(p, high) ||
        !ReadInt(p, invert) || !AtEnd(p) || channel < 0 || channel >= kxinputdevice::kChannels ||
        low > zero || zero > high) {
      ++skipped_;
      return;
    }
    zero_[channel] = zero;
    minimum_[channel] = low;
    maximum_[channel] = high;
    invert_[channel] = invert != 0 ? 1 : 0;
  }

  int Finish(kxinputdevice* device) {
    if (!header_) return 0;
    std::memcpy(device->zero, zero_, sizeof zero_);
    std::memcpy(device->minimum, minimum_, sizeof minimum_);
    std::memcpy(device->maximum, maximum_, sizeof maximum_);
    std::memcpy(device->invert, invert_, sizeof invert_);
    return 1;
  }

  int Skipped() const { return skipped_; }

 private:
  bool header_ = false;
  int skipped_ = 0;
  int zero_[kxinputdevice::kChannels];
  int minimum_[kxinputdevice::kChannels];
  int maximum_[kxinputdevice::kChannels];
  int invert_[kxinputdevice::kChannels];
};

}  // namespace

int ReadCalibrationText(const char* text, long size, kxinputdevice* device) {
  if (!text || !device || size < 0) return 0;
  calibrationreader reader(device);
  std::string_view all(text, static_cast<size_t>(size));
  size_t mark = 0;
  if (kxtext::Classify(all, &mark) != kxtext::start::kText) return reader.Finish(device);
  all.remove_prefix(mark);
  // The lines ReadLine gives: cut to its longest line, and a zero byte ends
  // the line as it ends ReadLine's string.
  std::string line;
  kxtext::ForEachLine(all, [&](std::string_view l, int) {
    line.assign(l.substr(0, static_cast<size_t>(kxsystem::kMaxLineChars)));
    reader.Line(line.c_str());
  });
  return reader.Finish(device);
}

int LoadCalibration(const char* path, kxinputdevice* device) {
  kxsystem::Log("kxinput:  loading input device calibration %s=", path ? path : "");
  kxfile* file = device ? kxsystem::OpenFile(path, kxcode::kFileReadBinary) : nullptr;
  if (!file) {
    kxsystem::Log("fail\n");
    return 0;
  }
  calibrationreader reader(device);
  while (!kxsystem::IsEof(file)) reader.Line(kxsystem::ReadLine(file));
  kxsystem::CloseFile(file);
  if (!reader.Finish(device)) {
    kxsystem::Log("fail\n");
    kxsystem::Log("kxinput:  %s: no \"%s\" header\n", path, kHeaderWord);
    return 0;
  }
  kxsystem::Log("ok\n");
  if (reader.Skipped()) kxsystem::Log("kxinput:  %s: %d lines skipped\n", path, reader.Skipped());
  return 1;
}

int SaveCalibration(const char* path, kxinputdevice* device) {
  kxsystem::Log("kxinput:  saving inputdevice calibration %s=", path ? path : "");
  if (!path || !*path || !device) {
    kxsystem::Log("fail\n");
    return 0;
  }
  int channels = device->kind == kxcode::kDeviceUsb ? kUsbFileChannels : kJoystickFileChannels;
  kxout out;
  out.Printf("%s %d\n", kHeaderWord, channels);
  for (int c = 0; c < channels; ++c) {
    out.Printf("%d %d %d %d %d\n", c, device->zero[c], device->minimum[c], device->maximum[c],
               device->invert[c] ? 1 : 0);
  }
  int ok = kxsystem::WriteWholeFile(path, out.Text().data(), static_cast<long>(out.Text().size()));
  kxsystem::Log(ok ? "ok\n" : "fail\n");
  return ok;
}

}  // namespace kxinput
