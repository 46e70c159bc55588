// make_airfoil: writes the sample airfoil files of data/aircraft/airfoil/
// from textbook relations, so no measured data of anyone else is needed.
//
//   make_airfoil <output folder>
//
// Attached flow: thin-airfoil theory for the four-digit camber line (zero-
// lift angle and quarter-chord moment by numerical integration over the
// camber slope) with the lift slope 2 pi reduced for the viscous boundary
// layer at the given Reynolds number. Separated flow: the normal force of a
// flat plate, Cn = 1.8 sin a, with the centre of pressure near 40 % chord.
// The two are blended across a stall angle where the attached lift reaches
// its maximum. Profile drag: twice the laminar skin friction 1.328/sqrt(Re)
// with the four-digit thickness form factor, plus a lift-dependent bucket.
// Outlines: the four-digit thickness distribution about the camber line.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr int kIntegrationSteps = 2000;
constexpr int kOutlinePoints = 25;  // per surface
constexpr double kNormalForce = 1.8;  // flat plate, per sin a
constexpr double kSeparatedCentre = 0.40;  // chords from the leading edge
constexpr double kStallWidth = 1.5;  // degrees of the blend
// The lift holds its maximum a few degrees past the angle where the attached
// line reaches it before the flow separates.
constexpr double kStallDelay = 3.0;  // degrees
constexpr double kBucket = 0.008;  // profile drag per (cl - cl0)^2

struct section {
  const char* stem;
  const char* title;
  double camber;     // chords
  double position;   // chords, camber peak
  double thickness;  // chords
  double stallScale;  // a thin plate stalls early
  std::vector<double> reynolds;  // empty: no datasets, the default model only
};

double CamberSlope(const section& s, double x) {
  if (s.camber <= 0.0) return 0.0;
  double p = s.position;
  if (x < p) return 2.0 * s.camber / (p * p) * (p - x);
  return 2.0 * s.camber / ((1.0 - p) * (1.0 - p)) * (p - x);
}

double Camber(const section& s, double x) {
  if (s.camber <= 0.0) return 0.0;
  double p = s.position;
  if (x < p) return s.camber / (p * p) * (2.0 * p * x - x * x);
  return s.camber / ((1.0 - p) * (1.0 - p)) * ((1.0 - 2.0 * p) + 2.0 * p * x - x * x);
}

// Zero-lift angle (rad) and quarter-chord moment of the camber line.
void ThinAirfoil(const section& s, double* alpha0, double* cm) {
  double i0 = 0.0, a1 = 0.0, a2 = 0.0;
  double step = kPi / kIntegrationSteps;
  for (int k = 0; k < kIntegrationSteps; ++k) {
    double theta = (k + 0.5) * step;
    double slope = CamberSlope(s, 0.5 * (1.0 - std::cos(theta)));
    i0 += slope * (std::cos(theta) - 1.0) * step;
    a1 += slope * std::cos(theta) * step;
    a2 += slope * std::cos(2.0 * theta) * step;
  }
  *alpha0 = -i0 / kPi;
  a1 *= 2.0 / kPi;
  a2 *= 2.0 / kPi;
  *cm = kPi / 4.0 * (a2 - a1);
}

void Dataset(FILE* out, const section& s, double re) {
  double alpha0 = 0.0, cm0 = 0.0;
  ThinAirfoil(s, &alpha0, &cm0);
  double decades = std::log10(re / 1.0e4);
  double efficiency = std::fmin(0.95, std::fmax(0.8, 0.75 + 0.07 * decades));
  double slope = 2.0 * kPi * efficiency;
  double reynoldsGain = std::fmin(1.0, std::fmax(0.0, std::log10(re / 5.0e4)));
  double clMax = (1.0 + 6.0 * s.camber) * (0.85 + 0.15 * reynoldsGain) * s.stallScale;
  double clMin = -(1.0 - 6.0 * s.camber) * (0.85 + 0.15 * reynoldsGain) * s.stallScale;
  double t = s.thickness;
  double cd0 = 2.0 * 1.328 / std::sqrt(re) * (1.0 + 2.0 * t + 60.0 * t * t * t * t) + 0.002;
  double cl0 = -slope * alpha0;
  double stallUp = (clMax / slope + alpha0) / kDegree + kStallDelay;
  double stallDown = (clMin / slope + alpha0) / kDegree - kStallDelay;
  std::fprintf(out, "[DATASET]\nRe = %.0f\n", re);
  for (int deg = -20; deg <= 20; ++deg) {
    double a = deg * kDegree;
    double attached = slope * (a - alpha0);
    attached = std::fmin(clMax, std::fmax(clMin, attached));
    double cdAttached = cd0 + kBucket * (attached - cl0) * (attached - cl0);
    double normal = kNormalForce * std::sin(a);
    double clSeparated = normal * std::cos(a);
    double cdSeparated = cd0 + normal * std::sin(a);
    double cmSeparated = -(kSeparatedCentre - 0.25) * normal;
    // Weight of the attached flow: 1 well inside both stall angles.
    double up = 1.0 / (1.0 + std::exp((deg - stallUp) / kStallWidth));
    double down = 1.0 / (1.0 + std::exp((stallDown - deg) / kStallWidth));
    double w = up * down;
    double cl = w * attached + (1.0 - w) * clSeparated;
    double cd = w * cdAttached + (1.0 - w) * cdSeparated;
    double cm = w * cm0 + (1.0 - w) * cmSeparated;
    std::fprintf(out, "%d %.4f %.5f %.4f\n", deg, cl, cd, cm);
  }
}

void Outline(FILE* out, const section& s) {
  std::fprintf(out, "[COORDINATES]\n");
  auto point = [&](double x, bool upper) {
    double t = s.thickness;
    double yt = 5.0 * t *
                (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1015 * x * x * x * x);
    double angle = std::atan(CamberSlope(s, x));
    double sign = upper ? 1.0 : -1.0;
    std::fprintf(out, "%.5f %.5f\n", x - sign * yt * std::sin(angle), Camber(s, x) + sign * yt * std::cos(angle));
  };
  for (int i = kOutlinePoints; i >= 0; --i) point(0.5 * (1.0 - std::cos(kPi * i / kOutlinePoints)), true);
  for (int i = 1; i <= kOutlinePoints; ++i) point(0.5 * (1.0 - std::cos(kPi * i / kOutlinePoints)), false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_airfoil <output folder>\n");
    return 2;
  }
  const section sections[] = {
      {"sym12", "Sym 12", 0.0, 0.4, 0.12, 1.0, {100000.0}},
      {"camber4", "Camber 4", 0.04, 0.4, 0.10, 1.0, {60000.0, 200000.0}},
      {"plate3", "Plate 3", 0.0, 0.4, 0.03, 0.75, {80000.0}},
      {"outline9", "Outline 9", 0.02, 0.4, 0.09, 1.0, {}},
  };
  for (const section& s : sections) {
    std::string path = std::string(argv[1]) + "/" + s.stem + ".kxa";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
      std::fprintf(stderr, "make_airfoil: cannot write %s\n", path.c_str());
      return 1;
    }
    std::fprintf(out, "[AIRFOIL]\nName = \"%s\"\n", s.title);
    for (double re : s.reynolds) Dataset(out, s, re);
    Outline(out, s);
    std::fclose(out);
  }
  return 0;
}
