// TRANSPOSE(MATRIX): result(j, i) = source(i, j).
//
// The routine works in storage units (bytes for CHARACTER, byte-laid derived
// types and 8- or 16-bit elements; 32-bit words otherwise) and never converts
// strides to element strides: an element is u units at a source offset of
// i * s1 + j * s2 units and goes to j * r1 + i * r2 units in the result. The
// source's rank is not tested (the caller passes a rank-2 array).
//
// A result without storage is laid out n x m, contiguous, and allocated for
// n * m * (element bits) / 8 bytes (none when that is 0; 1205 and nothing
// stored above 0x7FFFFFFF bytes or when the allocator fails, the result then
// staying unassociated).
//
// The copy walks the matrix in square tiles so that the rows being written
// and the columns being read both stay in the first-level cache; the order
// of the moves does not matter, since source and result never overlap.
// Elements of 1, 2, 3, 4, 8, 12 and 16 bytes move with fixed-size copies,
// longer ones with a block copy of their length. The common case of 8-byte
// elements (REAL*8, INTEGER*8, COMPLEX*8) with both matrices contiguous
// along their first index moves 4 x 4 blocks through SSE2 registers: loads,
// 64-bit interleaves and stores only, so every bit pattern passes unchanged.
#include "array/transpose.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "array/result.h"

namespace {

using f90::Desc;

struct Layout {
  int64_t unit;   // bytes per storage unit
  uint32_t u;     // units per element
  int64_t bits;   // element length in bits
};

Layout layout(Desc s) {
  const uint32_t int_len = s.int_len();
  switch (s.type_code()) {
    case TYPE_CHARACTER: return {1, s.elem_len(), int64_t{s.elem_len()} * 8};
    case TYPE_DERIVED_BYTES: return {1, s.elem_len() / 8, s.elem_len()};
    case TYPE_DERIVED_WORDS: return {4, s.elem_len() / 32, s.elem_len()};
    default: break;
  }
  if (int_len == 8 || int_len == 16) return {1, int_len / 8, int_len};
  return {4, int_len / 32, int_len};
}

constexpr int64_t kTile = 64;

template <uint32_t kBytes>
void copy_tiles(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2,
                int64_t m, int64_t n, uint32_t bytes) {
  const size_t size = kBytes != 0 ? kBytes : bytes;
  for (int64_t j0 = 0; j0 < n; j0 += kTile) {
    const int64_t j1 = std::min(n, j0 + kTile);
    for (int64_t i0 = 0; i0 < m; i0 += kTile) {
      const int64_t i1 = std::min(m, i0 + kTile);
      for (int64_t j = j0; j < j1; ++j) {
        const char* sp = src + i0 * s1 + j * s2;
        char* dp = dst + j * r1 + i0 * r2;
        for (int64_t i = i0; i < i1; ++i, sp += s1, dp += r2) std::memcpy(dp, sp, size);
      }
    }
  }
}

// 8-byte elements, source column i..i+3 and result row j..j+3 contiguous:
// m4 and n4 are multiples of 4.
__attribute__((target("sse2"))) void blocks_8(char* dst, int64_t r2, const char* src, int64_t s2,
                                              int64_t m4, int64_t n4) {
#define F90_LOAD(p) _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))
#define F90_STORE(p, v) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v)
  for (int64_t j0 = 0; j0 < n4; j0 += 2 * kTile) {
    const int64_t j1 = std::min(n4, j0 + 2 * kTile);
    for (int64_t i0 = 0; i0 < m4; i0 += 2 * kTile) {
      const int64_t i1 = std::min(m4, i0 + 2 * kTile);
      for (int64_t j = j0; j < j1; j += 4) {
        for (int64_t i = i0; i < i1; i += 4) {
          const char* p = src + i * 8 + j * s2;
          char* q = dst + j * 8 + i * r2;
          // columns j, j+1: rows i..i+3 become the first halves of rows i..i+3
          const __m128i a0 = F90_LOAD(p), a1 = F90_LOAD(p + 16);
          const __m128i b0 = F90_LOAD(p + s2), b1 = F90_LOAD(p + s2 + 16);
          F90_STORE(q, _mm_unpacklo_epi64(a0, b0));
          F90_STORE(q + r2, _mm_unpackhi_epi64(a0, b0));
          F90_STORE(q + 2 * r2, _mm_unpacklo_epi64(a1, b1));
          F90_STORE(q + 3 * r2, _mm_unpackhi_epi64(a1, b1));
          const __m128i c0 = F90_LOAD(p + 2 * s2), c1 = F90_LOAD(p + 2 * s2 + 16);
          const __m128i d0 = F90_LOAD(p + 3 * s2), d1 = F90_LOAD(p + 3 * s2 + 16);
          F90_STORE(q + 16, _mm_unpacklo_epi64(c0, d0));
          F90_STORE(q + r2 + 16, _mm_unpackhi_epi64(c0, d0));
          F90_STORE(q + 2 * r2 + 16, _mm_unpacklo_epi64(c1, d1));
          F90_STORE(q + 3 * r2 + 16, _mm_unpackhi_epi64(c1, d1));
        }
      }
    }
  }
#undef F90_LOAD
#undef F90_STORE
}

// Asked on every call (a load and a test once the CPU model is known): a
// function-local static would need the C++ runtime's guard functions, and
// the library links no libstdc++.
bool have_sse2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
}

// 8-byte elements: the SSE2 blocks where they apply, the tiles elsewhere.
void copy_8(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2, int64_t m,
            int64_t n) {
  const bool sse2 = have_sse2();
  if (!sse2 || s1 != 8 || r1 != 8 || m < 4 || n < 4) {
    copy_tiles<8>(dst, r1, r2, src, s1, s2, m, n, 8);
    return;
  }
  const int64_t m4 = m & ~int64_t{3}, n4 = n & ~int64_t{3};
  blocks_8(dst, r2, src, s2, m4, n4);
  // Columns n4.. of every row, then rows m4.. of the first n4 columns.
  copy_tiles<8>(dst + n4 * r1, r1, r2, src + n4 * s2, s1, s2, m, n - n4, 8);
  copy_tiles<8>(dst + m4 * r2, r1, r2, src + m4 * s1, s1, s2, m - m4, n4, 8);
}

// Completes an unassociated result; false after a 1205 report.
bool complete(Desc r, const Layout& l, bool character, int64_t m, int64_t n) {
  r.set_base(nullptr);
  r.set_alloc(nullptr, 0);
  const int64_t rows = std::max<int64_t>(m, 0), cols = std::max<int64_t>(n, 0);
  r.set_dim(0, 1, static_cast<int32_t>(n), static_cast<int32_t>(l.u));
  r.set_dim(1, 1, static_cast<int32_t>(m),
            static_cast<int32_t>(static_cast<uint32_t>(n) * l.u));  // wraps only when empty
  int64_t bits = 0;
  if (__builtin_mul_overflow(cols, l.bits, &bits) || __builtin_mul_overflow(bits, rows, &bits) ||
      bits / 8 > f90::kMaxResultBytes) {
    f90::report(ERR_ALLOC_FAILED);
    return false;
  }
  void* storage = nullptr;
  if (bits != 0) {
    storage = _F90ALLOC(static_cast<uint32_t>(bits / 8), 0);
    if (storage == nullptr) {
      f90::report(ERR_ALLOC_FAILED);
      return false;
    }
  }
  r.set_assoc(true);
  if (character) {
    CharDescriptor slot;
    f90::cptofcd(&slot, static_cast<char*>(storage), l.u);
    std::memcpy(r.raw(), &slot, sizeof slot);
  } else {
    r.set_base(storage);
  }
  r.set_alloc(storage, static_cast<uint32_t>(bits));
  return true;
}

}  // namespace

void transpose(ArrayDescriptor* result, ArrayDescriptor* source) {
  const Desc s(source), r(result);
  const Layout l = layout(s);
  const int64_t m = s.extent(0), n = s.extent(1);
  if (!r.assoc() && !complete(r, l, s.is_character(), m, n)) return;
  if (m <= 0 || n <= 0 || l.u == 0) return;

  const int64_t s1 = s.stride(0) * l.unit, s2 = s.stride(1) * l.unit;
  const int64_t r1 = r.stride(0) * l.unit, r2 = r.stride(1) * l.unit;
  char* dst = r.base();
  const char* src = s.base();
  const uint32_t bytes = static_cast<uint32_t>(l.u * l.unit);
  switch (bytes) {
    case 1: return copy_tiles<1>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 2: return copy_tiles<2>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 3: return copy_tiles<3>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 4: return copy_tiles<4>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 8: return copy_8(dst, r1, r2, src, s1, s2, m, n);
    case 12: return copy_tiles<12>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 16: return copy_tiles<16>(dst, r1, r2, src, s1, s2, m, n, bytes);
    default: return copy_tiles<0>(dst, r1, r2, src, s1, s2, m, n, bytes);
  }
}
