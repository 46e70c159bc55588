#include <cmath>

#include "core/maths.h"
#include "dynamics/wings/airfoil.h"

namespace {

using kxmaths::kDegreesPerRadian;
using kxmaths::kRadiansPerDegree;
// Default full-circle model: lift peaks of the attached and the reversed
// flow, drag at zero and broadside incidence.
constexpr float kDefaultLift = 1.3f;
constexpr float kDefaultLiftReversed = 0.7f;
constexpr float kDefaultDrag = 0.1f;
constexpr float kDefaultDragRise = 0.8f;
constexpr int kHalfFirst = -360;  // half-degree steps of -180 degrees
constexpr int kHalfLast = 359;    // of 179.5 degrees
constexpr int kQuarter = 400;
constexpr float kIndexStep = 0.01f;

// Insertion sort by alpha; rows with equal alpha keep their file order.
void SortRows(kxdairfoil* a, int d) {
  for (int i = 1; i < a->RowCount[d]; ++i) {
    float al = a->Alpha[d][i], cl = a->Cl[d][i], cd = a->Cd[d][i], cm = a->Cm[d][i];
    int j = i;
    for (; j > 0 && a->Alpha[d][j - 1] > al; --j) {
      a->Alpha[d][j] = a->Alpha[d][j - 1];
      a->Cl[d][j] = a->Cl[d][j - 1];
      a->Cd[d][j] = a->Cd[d][j - 1];
      a->Cm[d][j] = a->Cm[d][j - 1];
    }
    a->Alpha[d][j] = al;
    a->Cl[d][j] = cl;
    a->Cd[d][j] = cd;
    a->Cm[d][j] = cm;
  }
}

}  // namespace

void kxdairfoil::BuildTables() {
  for (int d = 0; d < DatasetCount && d < kMaxDatasets; ++d) SortRows(this, d);
  for (int i = kHalfFirst; i <= kHalfLast; ++i) {
    float a = 0.5f * static_cast<float>(i);
    float x = 2.0f * (a * kRadiansPerDegree);
    int k = kHalfZero + i;
    ClHalf[k] = (a >= -90.0f && a <= 90.0f ? kDefaultLift : kDefaultLiftReversed) * std::sin(x);
    CdHalf[k] = kDefaultDrag + kDefaultDragRise * (1.0f - std::cos(x));
    CmHalf[k] = 0.0f;
  }
  // The first dataset goes last, so it wins wherever its range reaches.
  for (int d = (DatasetCount < kMaxDatasets ? DatasetCount : kMaxDatasets) - 1; d >= 0; --d) {
    int rows = RowCount[d];
    if (rows < 2) continue;
    for (int i = kHalfFirst; i <= kHalfLast; ++i) {
      float a = 0.5f * static_cast<float>(i);
      for (int j = 0; j < rows - 1; ++j) {
        if (!(Alpha[d][j] <= a && a < Alpha[d][j + 1])) continue;
        float s = (a - Alpha[d][j]) / (Alpha[d][j + 1] - Alpha[d][j]);
        int k = kHalfZero + i;
        ClHalf[k] = Cl[d][j] * (1.0f - s) + Cl[d][j + 1] * s;
        CdHalf[k] = Cd[d][j] * (1.0f - s) + Cd[d][j + 1] * s;
        CmHalf[k] = Cm[d][j] * (1.0f - s) + Cm[d][j + 1] * s;
        break;
      }
    }
  }
  BuildDirectionTables();
}

/*
 * Entry n lies in quarter q at place r; its flow angle is atan((r - 200)/100)
 * plus q quarter turns. A force pass forms the same index from two flow
 * components with one division, so it needs no trigonometry per substep.
 */
void kxdairfoil::BuildDirectionTables() {
  for (int n = 0; n < kDirectionUsed; ++n) {
    int q = n / kQuarter;
    float u = static_cast<float>(n - 200 - kQuarter * q) * kIndexStep;
    float t = (std::atan(u) + static_cast<float>(q) * 90.0f * kRadiansPerDegree) * kDegreesPerRadian;
    while (t < -180.0f) t += 360.0f;
    while (t >= 180.0f) t -= 360.0f;
    float k = static_cast<float>(kHalfZero) + 2.0f * t;
    int i0 = static_cast<int>(k);
    float f = k - static_cast<float>(i0);
    ClTable[n] = ClHalf[i0] * (1.0f - f) + ClHalf[i0 + 1] * f;
    CdTable[n] = CdHalf[i0] * (1.0f - f) + CdHalf[i0 + 1] * f;
    CmTable[n] = CmHalf[i0] * (1.0f - f) + CmHalf[i0 + 1] * f;
  }
  for (int n = kDirectionUsed; n < kDirectionEntries; ++n) ClTable[n] = CdTable[n] = CmTable[n] = 0.0f;
  PackDirectionTables();
}

void kxdairfoil::PackDirectionTables() {
  for (int n = 0; n + 1 < kDirectionEntries; ++n) {
    Direction[n] = {{ClTable[n], CdTable[n], CmTable[n], 0.0f}, {ClTable[n + 1], CdTable[n + 1], CmTable[n + 1], 0.0f}};
  }
}

float kxdairfoil::CoefficientAtDegree(kxdcoefficient which, int degree) const {
  if (degree < -180 || degree > 180) return 0.0f;
  if (degree == 180) degree = -180;  // the tables are periodic
  int k = kHalfZero + 2 * degree;
  switch (which) {
    case kxdcoefficient::kLift: return ClHalf[k];
    case kxdcoefficient::kDrag: return CdHalf[k];
    case kxdcoefficient::kMoment: return CmHalf[k];
  }
  return 0.0f;
}
