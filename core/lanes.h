// Four floats worked side by side: the one set of lane operations every
// lane kernel of the simulation uses. Each is one SSE2 instruction on
// x86-64 and its translation elsewhere (or the plain C form when the
// translation is turned off with SIMDE_NO_NATIVE), with the same results
// lane for lane, so a kernel gives the same bits on every target.
//
// A lane holds what the matching element of a four-float row holds (x, y,
// z, w); a comparison gives a mask lane of all bits set where it holds and
// none where it does not, which And, Select and Mask take.
#pragma once

#include <simde/x86/sse2.h>

#include <cstdint>

namespace kxlanes {

using f4 = simde__m128;   // four floats, or four comparison masks
using i4 = simde__m128i;  // four 32-bit integers

// ---- in and out
[[gnu::always_inline]] inline f4 Load(const float* p) { return simde_mm_load_ps(p); }  // 16-byte aligned
[[gnu::always_inline]] inline f4 LoadU(const float* p) { return simde_mm_loadu_ps(p); }
[[gnu::always_inline]] inline void Store(float* p, f4 v) { simde_mm_store_ps(p, v); }  // 16-byte aligned
[[gnu::always_inline]] inline void StoreU(float* p, f4 v) { simde_mm_storeu_ps(p, v); }
// Lanes x, y and z into p[0..2]; p[3] is left as it is.
[[gnu::always_inline]] inline void StoreXYZ(float* p, f4 v) {
  simde_mm_storel_pi(reinterpret_cast<simde__m64*>(p), v);
  simde_mm_store_ss(p + 2, simde_mm_movehl_ps(v, v));
}
[[gnu::always_inline]] inline void StoreInts(int* p, i4 v) { simde_mm_storeu_si128(reinterpret_cast<i4*>(p), v); }
// Four masks stored as bits (all set or none), 16-byte aligned.
[[gnu::always_inline]] inline f4 LoadMask(const std::uint32_t* p) {
  return simde_mm_castsi128_ps(simde_mm_load_si128(reinterpret_cast<const i4*>(p)));
}
[[gnu::always_inline]] inline f4 Splat(float v) { return simde_mm_set1_ps(v); }
[[gnu::always_inline]] inline f4 Set(float x, float y, float z, float w) { return simde_mm_setr_ps(x, y, z, w); }
[[gnu::always_inline]] inline f4 Zero() { return simde_mm_setzero_ps(); }
[[gnu::always_inline]] inline float First(f4 v) { return simde_mm_cvtss_f32(v); }

// ---- arithmetic, lane by lane, rounded as the scalar operation
[[gnu::always_inline]] inline f4 Add(f4 a, f4 b) { return simde_mm_add_ps(a, b); }
[[gnu::always_inline]] inline f4 Sub(f4 a, f4 b) { return simde_mm_sub_ps(a, b); }
[[gnu::always_inline]] inline f4 Mul(f4 a, f4 b) { return simde_mm_mul_ps(a, b); }
[[gnu::always_inline]] inline f4 Div(f4 a, f4 b) { return simde_mm_div_ps(a, b); }
[[gnu::always_inline]] inline f4 Sqrt(f4 a) { return simde_mm_sqrt_ps(a); }
// a < b ? a : b and a > b ? a : b: b where either is a NaN.
[[gnu::always_inline]] inline f4 Min(f4 a, f4 b) { return simde_mm_min_ps(a, b); }
[[gnu::always_inline]] inline f4 Max(f4 a, f4 b) { return simde_mm_max_ps(a, b); }

// ---- bits
[[gnu::always_inline]] inline f4 And(f4 a, f4 b) { return simde_mm_and_ps(a, b); }
// b where mask is clear, else nothing.
[[gnu::always_inline]] inline f4 AndNot(f4 mask, f4 b) { return simde_mm_andnot_ps(mask, b); }
[[gnu::always_inline]] inline f4 Or(f4 a, f4 b) { return simde_mm_or_ps(a, b); }
[[gnu::always_inline]] inline f4 Xor(f4 a, f4 b) { return simde_mm_xor_ps(a, b); }
// mask ? a : b, lane by lane.
[[gnu::always_inline]] inline f4 Select(f4 mask, f4 a, f4 b) { return Or(And(mask, a), AndNot(mask, b)); }
[[gnu::always_inline]] inline f4 Abs(f4 v) { return And(v, simde_mm_castsi128_ps(simde_mm_set1_epi32(0x7fffffff))); }
[[gnu::always_inline]] inline f4 Negated(f4 v) { return Xor(v, Splat(-0.0f)); }
// x, y and z kept and w made +0, whatever it held.
[[gnu::always_inline]] inline f4 XYZ(f4 v) { return And(v, simde_mm_castsi128_ps(simde_mm_setr_epi32(-1, -1, -1, 0))); }
// x, y and z kept and w set to w.
[[gnu::always_inline]] inline f4 WithW(f4 v, float w) {
  return Select(simde_mm_castsi128_ps(simde_mm_setr_epi32(-1, -1, -1, 0)), v, Splat(w));
}
// Bit k set where lane k of the mask is.
[[gnu::always_inline]] inline unsigned Mask(f4 mask) { return static_cast<unsigned>(simde_mm_movemask_ps(mask)); }

// ---- comparisons (false for a NaN, but NotEqual)
[[gnu::always_inline]] inline f4 Less(f4 a, f4 b) { return simde_mm_cmplt_ps(a, b); }
[[gnu::always_inline]] inline f4 LessEq(f4 a, f4 b) { return simde_mm_cmple_ps(a, b); }
[[gnu::always_inline]] inline f4 Greater(f4 a, f4 b) { return simde_mm_cmpgt_ps(a, b); }
[[gnu::always_inline]] inline f4 GreaterEq(f4 a, f4 b) { return simde_mm_cmpge_ps(a, b); }
[[gnu::always_inline]] inline f4 Equal(f4 a, f4 b) { return simde_mm_cmpeq_ps(a, b); }
[[gnu::always_inline]] inline f4 NotEqual(f4 a, f4 b) { return simde_mm_cmpneq_ps(a, b); }

// ---- whole numbers
// Each lane truncated toward zero.
[[gnu::always_inline]] inline i4 Truncated(f4 v) { return simde_mm_cvttps_epi32(v); }
[[gnu::always_inline]] inline f4 ToFloats(i4 v) { return simde_mm_cvtepi32_ps(v); }
// Each lane times 2^n (shifted left n bits).
template <int n>
[[gnu::always_inline]] inline i4 ShiftedLeft(i4 v) {
  return simde_mm_slli_epi32(v, n);
}

// ---- moving lanes
// Lanes i and j of a, then k and l of b.
template <int i, int j, int k, int l>
[[gnu::always_inline]] inline f4 Shuffle(f4 a, f4 b) {
  static_assert(i >= 0 && i < 4 && j >= 0 && j < 4 && k >= 0 && k < 4 && l >= 0 && l < 4);
  return simde_mm_shuffle_ps(a, b, SIMDE_MM_SHUFFLE(l, k, j, i));
}
// Lane i of v in every lane.
template <int i>
[[gnu::always_inline]] inline f4 Broadcast(f4 v) {
  return Shuffle<i, i, i, i>(v, v);
}
// (a.x, b.x, a.y, b.y) and (a.z, b.z, a.w, b.w).
[[gnu::always_inline]] inline f4 UnpackLow(f4 a, f4 b) { return simde_mm_unpacklo_ps(a, b); }
[[gnu::always_inline]] inline f4 UnpackHigh(f4 a, f4 b) { return simde_mm_unpackhi_ps(a, b); }
// (b.z, b.w, a.z, a.w).
[[gnu::always_inline]] inline f4 HighLow(f4 a, f4 b) { return simde_mm_movehl_ps(a, b); }
// Rows turned into columns.
[[gnu::always_inline]] inline void Transpose(f4& r0, f4& r1, f4& r2, f4& r3) {
  SIMDE_MM_TRANSPOSE4_PS(r0, r1, r2, r3);
}

// ---- sums across lanes
// (a.v, b.v, c.v, c.v) over x, y and z, each summed as the scalar
// (x x' + y y') + z z': the three products turned so that one lane holds
// each sum. No w lane is read.
[[gnu::always_inline]] inline f4 Dots3(f4 a, f4 b, f4 c, f4 v) {
  const f4 qa = Mul(a, v), qb = Mul(b, v), qc = Mul(c, v);
  const f4 low = UnpackLow(qa, qb);    // qa.x qb.x qa.y qb.y
  const f4 high = UnpackHigh(qa, qb);  // qa.z qb.z qa.w qb.w
  return Add(Add(Shuffle<0, 1, 0, 0>(low, qc), Shuffle<2, 3, 1, 1>(low, qc)), Shuffle<0, 1, 2, 2>(high, qc));
}

}  // namespace kxlanes
