#include <cmath>
#include <cstring>
#include <string_view>

#include "core/numbers.h"
#include "dynamics/wings/airfoil.h"

namespace {

// Title characters start after an eight-character prefix such as 'Name = "'.
constexpr size_t kTitleStart = 8;
// Outline numbers beyond this magnitude are no outline; they read as 0.
constexpr float kMaxMagnitude = 1.0e6f;
/* A measured row lies within these bounds: angles of attack within a turn
   either way, coefficients within a hundred (a flat plate across the flow
   has a drag coefficient of about 2). A file beyond them (nan, 3.4e38) is
   broken, and tables built from it would give a wing no lift at all. */
constexpr float kMaxAlpha = 360.0f;        // degrees
constexpr float kMaxCoefficient = 100.0f;

bool Sound(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxMagnitude; }
bool Within(float v, float bound) { return std::isfinite(v) && std::fabs(v) <= bound; }

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
 * returns how many were read; a word there that is written as a number no
 * float holds ("nan", "1e39") sets notFinite when asked.
 */
int ScanFloats(const char* text, float* out, int count, bool* notFinite = nullptr) {
  int n = 0;
  while (n < count) {
    while (IsBlank(*text)) ++text;
    size_t word = 0;
    while (text[word] && !IsBlank(text[word])) ++word;
    if (notFinite && kxnumber::IsNonFiniteFloatText(std::string_view(text, word))) {
      *notFinite = true;
      break;
    }
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
  ++line_;
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
  bool notFinite = false;
  int n = ScanFloats(text, v, 4, &notFinite);
  if (notFinite || !Within(v[0], kMaxAlpha) || !Within(v[1], kMaxCoefficient) || !Within(v[2], kMaxCoefficient) ||
      !Within(v[3], kMaxCoefficient)) {
    if (!refusedLine_) {
      refusedLine_ = line_;
      refusedRow_ = text;
    }
    return;
  }
  // A line without any number ("Re=150000", a remark) is no row: a row of
  // zeros would put a false spike into the curve. Missing trailing numbers
  // read as 0.
  if (n < 1) return;
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
