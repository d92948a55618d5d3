// JpegIdct: fast scaled (AAN) and accurate integer inverse transforms.
#include "gfx/JpegIdct.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Scale factors of the fast transform per axis, 14-bit fixed point.
const int32_t kAanFactors[8] = {16384, 22725, 21407, 19266, 16384, 12873, 8867, 4520};

// Fast transform constants, 8 fractional bits.
const int kFast1082 = 277;
const int kFast1414 = 362;
const int kFast1847 = 473;
const int kFast2613 = 669;
const int kFastPass1Bits = 2;

// Accurate transform constants, 13 fractional bits.
const int kConstBits = 13;
const int kPass1Bits = 2;
const int32_t kFix0298 = 2446;
const int32_t kFix0390 = 3196;
const int32_t kFix0541 = 4433;
const int32_t kFix0765 = 6270;
const int32_t kFix0899 = 7373;
const int32_t kFix1175 = 9633;
const int32_t kFix1501 = 12299;
const int32_t kFix1847 = 15137;
const int32_t kFix1961 = 16069;
const int32_t kFix2053 = 16819;
const int32_t kFix2562 = 20995;
const int32_t kFix3072 = 25172;

inline uint8_t clampSample(int v) {
  if (v < 0) return 0;
  if (v > 255) return 255;
  return static_cast<uint8_t>(v);
}

inline int fastMultiply(int v, int c) { return (v * c) >> 8; }

// One 1-D pass of the fast transform over eight values `stride` apart.
inline void fastPass(int* d, int stride) {
  int in0 = d[0], in1 = d[stride], in2 = d[2 * stride], in3 = d[3 * stride];
  int in4 = d[4 * stride], in5 = d[5 * stride], in6 = d[6 * stride], in7 = d[7 * stride];
  int tmp10 = in0 + in4, tmp11 = in0 - in4;
  int tmp13 = in2 + in6;
  int tmp12 = fastMultiply(in2 - in6, kFast1414) - tmp13;
  int tmp0 = tmp10 + tmp13, tmp3 = tmp10 - tmp13;
  int tmp1 = tmp11 + tmp12, tmp2 = tmp11 - tmp12;
  int z13 = in5 + in3, z10 = in5 - in3, z11 = in1 + in7, z12 = in1 - in7;
  int tmp7 = z11 + z13;
  tmp11 = fastMultiply(z11 - z13, kFast1414);
  int z5 = fastMultiply(z10 + z12, kFast1847);
  tmp10 = fastMultiply(z12, kFast1082) - z5;
  tmp12 = fastMultiply(z10, -kFast2613) + z5;
  int tmp6 = tmp12 - tmp7;
  int tmp5 = tmp11 - tmp6;
  int tmp4 = tmp10 + tmp5;
  d[0] = tmp0 + tmp7;
  d[7 * stride] = tmp0 - tmp7;
  d[stride] = tmp1 + tmp6;
  d[6 * stride] = tmp1 - tmp6;
  d[2 * stride] = tmp2 + tmp5;
  d[5 * stride] = tmp2 - tmp5;
  d[4 * stride] = tmp3 + tmp4;
  d[3 * stride] = tmp3 - tmp4;
}

#if defined(__SSE2__)
// NOTE: multiplies by c/256 as pmulhw((x << 2), c << 6); constants above
// 1.0 are split into (c - 256) plus x so they fit a signed 16-bit lane.
inline __m128i mulFrac(__m128i x, int c) {
  return _mm_mulhi_epi16(_mm_slli_epi16(x, 2), _mm_set1_epi16(static_cast<short>(c * 64)));
}

inline void simdPass(__m128i* r) {
  __m128i tmp10 = _mm_add_epi16(r[0], r[4]);
  __m128i tmp11 = _mm_sub_epi16(r[0], r[4]);
  __m128i tmp13 = _mm_add_epi16(r[2], r[6]);
  __m128i tmp12 = _mm_sub_epi16(mulFrac(_mm_sub_epi16(r[2], r[6]), kFast1414), tmp13);
  __m128i tmp0 = _mm_add_epi16(tmp10, tmp13);
  __m128i tmp3 = _mm_sub_epi16(tmp10, tmp13);
  __m128i tmp1 = _mm_add_epi16(tmp11, tmp12);
  __m128i tmp2 = _mm_sub_epi16(tmp11, tmp12);
  __m128i z13 = _mm_add_epi16(r[5], r[3]);
  __m128i z10 = _mm_sub_epi16(r[5], r[3]);
  __m128i z11 = _mm_add_epi16(r[1], r[7]);
  __m128i z12 = _mm_sub_epi16(r[1], r[7]);
  __m128i tmp7 = _mm_add_epi16(z11, z13);
  tmp11 = mulFrac(_mm_sub_epi16(z11, z13), kFast1414);
  __m128i z5 = mulFrac(_mm_add_epi16(z10, z12), kFast1847);
  tmp10 = _mm_sub_epi16(_mm_add_epi16(mulFrac(z12, kFast1082 - 256), z12), z5);
  tmp12 = _mm_add_epi16(_mm_sub_epi16(mulFrac(z10, -(kFast2613 - 256)), z10), z5);
  __m128i tmp6 = _mm_sub_epi16(tmp12, tmp7);
  __m128i tmp5 = _mm_sub_epi16(tmp11, tmp6);
  __m128i tmp4 = _mm_add_epi16(tmp10, tmp5);
  r[0] = _mm_add_epi16(tmp0, tmp7);
  r[7] = _mm_sub_epi16(tmp0, tmp7);
  r[1] = _mm_add_epi16(tmp1, tmp6);
  r[6] = _mm_sub_epi16(tmp1, tmp6);
  r[2] = _mm_add_epi16(tmp2, tmp5);
  r[5] = _mm_sub_epi16(tmp2, tmp5);
  r[4] = _mm_add_epi16(tmp3, tmp4);
  r[3] = _mm_sub_epi16(tmp3, tmp4);
}

inline void transpose8x8(__m128i* r) {
  __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
  __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
  __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
  __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
  __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  r[0] = _mm_unpacklo_epi64(b0, b4);
  r[1] = _mm_unpackhi_epi64(b0, b4);
  r[2] = _mm_unpacklo_epi64(b1, b5);
  r[3] = _mm_unpackhi_epi64(b1, b5);
  r[4] = _mm_unpacklo_epi64(b2, b6);
  r[5] = _mm_unpackhi_epi64(b2, b6);
  r[6] = _mm_unpacklo_epi64(b3, b7);
  r[7] = _mm_unpackhi_epi64(b3, b7);
}
#endif

}  // namespace

void jpegPrescaleQuant(const int32_t* raw, int32_t* scaled) {
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 8; ++col) {
      int32_t factor = (kAanFactors[row] * kAanFactors[col] + (1 << 13)) >> 14;
      int64_t v = (static_cast<int64_t>(raw[row * 8 + col]) * factor + (1 << 11)) >> 12;
      scaled[row * 8 + col] = static_cast<int32_t>(v > 32767 ? 32767 : v);
    }
  }
}

bool jpegHasSimdIdct() {
#if defined(__SSE2__)
  return true;
#else
  return false;
#endif
}

void jpegIdctFastScalar(const int16_t* coefficients, const int16_t* quant, uint8_t* out, int stride) {
  int ws[64];
  for (int i = 0; i < 64; ++i) ws[i] = coefficients[i] * quant[i];
  for (int col = 0; col < 8; ++col) fastPass(ws + col, 8);
  for (int row = 0; row < 8; ++row) {
    int* d = ws + row * 8;
    fastPass(d, 1);
    for (int col = 0; col < 8; ++col) out[col] = clampSample((d[col] >> (kFastPass1Bits + 3)) + 128);
    out += stride;
  }
}

void jpegIdctFast(const int16_t* coefficients, const int16_t* quant, uint8_t* out, int stride) {
#if defined(__SSE2__)
  __m128i r[8];
  for (int i = 0; i < 8; ++i) {
    __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + i * 8));
    __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + i * 8));
    r[i] = _mm_mullo_epi16(c, q);
  }
  simdPass(r);
  transpose8x8(r);
  simdPass(r);
  transpose8x8(r);
  const __m128i centre = _mm_set1_epi8(static_cast<char>(0x80));
  for (int i = 0; i < 8; i += 2) {
    __m128i a = _mm_srai_epi16(r[i], kFastPass1Bits + 3);
    __m128i b = _mm_srai_epi16(r[i + 1], kFastPass1Bits + 3);
    __m128i packed = _mm_xor_si128(_mm_packs_epi16(a, b), centre);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + stride), _mm_srli_si128(packed, 8));
    out += 2 * stride;
  }
#else
  jpegIdctFastScalar(coefficients, quant, out, stride);
#endif
}

// One 8-point pass of the accurate transform: x in, y out, unscaled (the
// caller rounds and shifts for its pass).
static inline void accurateIdct1d(const int32_t x[8], int32_t y[8]) {
  int32_t z2 = x[2], z3 = x[6];
  int32_t z1 = (z2 + z3) * kFix0541;
  int32_t tmp2 = z1 + z3 * -kFix1847;
  int32_t tmp3 = z1 + z2 * kFix0765;
  int32_t tmp0 = (x[0] + x[4]) * (1 << kConstBits);
  int32_t tmp1 = (x[0] - x[4]) * (1 << kConstBits);
  const int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3, tmp11 = tmp1 + tmp2,
                tmp12 = tmp1 - tmp2;
  tmp0 = x[7];
  tmp1 = x[5];
  tmp2 = x[3];
  tmp3 = x[1];
  z1 = tmp0 + tmp3;
  z2 = tmp1 + tmp2;
  z3 = tmp0 + tmp2;
  int32_t z4 = tmp1 + tmp3;
  const int32_t z5 = (z3 + z4) * kFix1175;
  tmp0 *= kFix0298;
  tmp1 *= kFix2053;
  tmp2 *= kFix3072;
  tmp3 *= kFix1501;
  z1 *= -kFix0899;
  z2 *= -kFix2562;
  z3 *= -kFix1961;
  z4 *= -kFix0390;
  z3 += z5;
  z4 += z5;
  tmp0 += z1 + z3;
  tmp1 += z2 + z4;
  tmp2 += z2 + z3;
  tmp3 += z1 + z4;
  y[0] = tmp10 + tmp3;
  y[7] = tmp10 - tmp3;
  y[1] = tmp11 + tmp2;
  y[6] = tmp11 - tmp2;
  y[2] = tmp12 + tmp1;
  y[5] = tmp12 - tmp1;
  y[3] = tmp13 + tmp0;
  y[4] = tmp13 - tmp0;
}

void jpegIdctAccurate(const int16_t* coefficients, const int32_t* quant, uint8_t* out, int stride) {
  int32_t ws[64];
  int32_t x[8], y[8];
  for (int col = 0; col < 8; ++col) {
    const int16_t* in = coefficients + col;
    const int32_t* q = quant + col;
    int32_t* w = ws + col;
    if (!in[8] && !in[16] && !in[24] && !in[32] && !in[40] && !in[48] && !in[56]) {
      int32_t dc = (in[0] * q[0]) * (1 << kPass1Bits);
      for (int k = 0; k < 8; ++k) w[k * 8] = dc;
      continue;
    }
    for (int k = 0; k < 8; ++k) x[k] = in[k * 8] * q[k * 8];
    accurateIdct1d(x, y);
    const int shift = kConstBits - kPass1Bits;
    const int32_t round = 1 << (shift - 1);
    for (int k = 0; k < 8; ++k) w[k * 8] = (y[k] + round) >> shift;
  }
  const int shift = kConstBits + kPass1Bits + 3;
  const int32_t round = 1 << (shift - 1);
  for (int row = 0; row < 8; ++row) {
    accurateIdct1d(ws + row * 8, y);
    for (int k = 0; k < 8; ++k) out[k] = clampSample(((y[k] + round) >> shift) + 128);
    out += stride;
  }
}
