// Costs of the frame operations run per part and per frame.
#include <benchmark/benchmark.h>

#include "core/matrix.h"

namespace {

kxmatrix SampleFrame() {
  kxmatrix m;
  kxmatrix::SetRotation(&m, kxvector4r{0.3f, 0.5f, 0.8f, 0.0f}, 0.7f);
  m.R = {1.0f, -2.0f, 3.0f, 1.0f};
  return m;
}

void BM_Multiply4x4(benchmark::State& state) {
  kxmatrix a = SampleFrame();
  kxmatrix b = SampleFrame();
  kxmatrix out;
  for (auto _ : state) {
    kxmatrix::Multiply4x4(&out, &a, &b);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Multiply4x4);

void BM_TransformVector4(benchmark::State& state) {
  kxmatrix m = SampleFrame();
  float v[4] = {0.5f, 0.25f, -1.0f, 1.0f};
  float out[4];
  for (auto _ : state) {
    kxmatrix::TransformVector4(out, &m, v);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TransformVector4);

void BM_Invert(benchmark::State& state) {
  kxmatrix m = SampleFrame();
  kxmatrix inverse;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kxmatrix::Invert(m, inverse));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Invert);

}  // namespace
