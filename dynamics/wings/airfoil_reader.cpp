#include <cmath>
#include <cstring>

#include "core/numbers.h"
#include "dynamics/wings/airfoil.h"

namespace {

// Title characters start after an eight-character prefix such as 'Name = "'.
constexpr size_t kTitleStart = 8;
// Numbers beyond this magnitude are no airfoil data; such a row is left out
// so the tables' interpolation can never overflow.
constexpr float kMaxMagnitude = 1.0e6f;

bool Sound(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxMagnitude; }

// Blanks are spaces only: a tab is kept, so "[DATASET]\t" is no header.
const char* Trim(const char* line, std::string& keep) {
  while (*line == ' ') ++line;
  keep = line;
  while (!keep.empty() && keep.back() == ' ') keep.pop_back();
  return keep.c_str();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'; }

/*
 * Reads up to count numbers separated by white space, as "%f %f ..." would,
 * but in the C locale whatever locale the process runs in: each number is
 * the longest prefix of its run of number characters that reads as one, so
 * "1.5-2" gives 1.5 and -2. Stops at the first place without a number and
 * returns how many were read.
 */
int ScanFloats(const char* text, float* out, int count) {
  int n = 0;
  while (n < count) {
    while (IsBlank(*text)) ++text;
    size_t run = 0;
    while (IsNumberChar(text[run])) ++run;
    size_t length = run;
    for (; length > 0; --length) {
      if (kxnumber::Parse(std::string_view(text, length), out[n])) break;
    }
    if (length == 0) break;
    text += length;
    ++n;
  }
  return n;
}

}  // namespace

kxstring kxdairfoiltitle(const char* line1, const char* line2) {
  if (!line1 || !line2 || std::strcmp(line1, "[AIRFOIL]") != 0) return kxstring();
  size_t length = std::strlen(line2);
  if (length <= kTitleStart) return kxstring();
  const char* start = line2 + kTitleStart;
  const char* quote = std::strchr(start, '"');
  return kxstring(std::string(start, quote ? static_cast<size_t>(quote - start) : std::strlen(start)));
}

kxdairfoilreader::kxdairfoilreader(kxdairfoil* airfoil) : airfoil_(airfoil) {}

void kxdairfoilreader::Line(const char* raw) {
  if (!airfoil_ || !raw) return;
  std::string keep;
  const char* line = Trim(raw, keep);
  if (line[0] == '[') {
    if (std::strcmp(line, "[DATASET]") == 0) {
      if (airfoil_->DatasetCount >= kxdairfoil::kMaxDatasets) {
        ++airfoil_->DroppedDatasets;
        section_ = section::kDroppedDataset;
        return;
      }
      int d = airfoil_->DatasetCount++;
      airfoil_->RowCount[d] = 0;
      airfoil_->Reynolds[d] = 0.0f;
      section_ = section::kDataset;
    } else if (std::strcmp(line, "[COORDINATES]") == 0) {
      airfoil_->CoordCount = 0;
      section_ = section::kCoordinates;
    } else {
      section_ = section::kIgnored;
    }
    return;
  }
  switch (section_) {
    case section::kDataset:
    case section::kDroppedDataset: Row(line); break;
    case section::kCoordinates: Point(line); break;
    case section::kNone:
    case section::kIgnored: break;
  }
}

void kxdairfoilreader::Row(const char* text) {
  unsigned char first = static_cast<unsigned char>(text[0]);
  bool dropped = section_ == section::kDroppedDataset;
  int d = airfoil_->DatasetCount - 1;
  if (std::strncmp(text, "Re =", 4) == 0) {
    float re = 0.0f;
    if (!dropped && ScanFloats(text + 4, &re, 1) == 1) airfoil_->Reynolds[d] = re;
    return;
  }
  if (first < 32 || first >= 128) return;
  float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  int n = ScanFloats(text, v, 4);
  // A line without any number ("Re=150000", a remark) is no row: a row of
  // zeros would put a false spike into the curve. Missing trailing numbers
  // read as 0.
  if (n < 1) return;
  for (float x : v) {
    if (!Sound(x)) return;
  }
  if (dropped || airfoil_->RowCount[d] >= kxdairfoil::kMaxRows) {
    ++airfoil_->DroppedRows;
    return;
  }
  int j = airfoil_->RowCount[d]++;
  airfoil_->Alpha[d][j] = v[0];
  airfoil_->Cl[d][j] = v[1];
  airfoil_->Cd[d][j] = v[2];
  airfoil_->Cm[d][j] = v[3];
}

void kxdairfoilreader::Point(const char* text) {
  unsigned char first = static_cast<unsigned char>(text[0]);
  if (first < 32 || first > 127) return;
  if (airfoil_->CoordCount >= kxdairfoil::kMaxPoints) {
    ++airfoil_->DroppedPoints;
    return;
  }
  float v[2] = {0.0f, 0.0f};
  ScanFloats(text, v, 2);
  int i = airfoil_->CoordCount++;
  airfoil_->CoordX[i] = Sound(v[0]) ? v[0] : 0.0f;
  airfoil_->CoordY[i] = Sound(v[1]) ? v[1] : 0.0f;
}
