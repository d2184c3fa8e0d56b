// PACK(ARRAY, MASK [, VECTOR]): the elements of ARRAY whose MASK element is
// true, in array element order, into a rank-1 result.
//
// One pass over ARRAY and MASK, with no counting pass: the result is sized
// before the walk (VECTOR's extent, or size(ARRAY) without VECTOR, so an
// allocated result may have room to spare) and its extent is set to the
// number of elements gathered afterwards. With VECTOR the result keeps
// VECTOR's extent: the positions after the gathered elements take VECTOR's
// elements at the same positions, and when MASK selects more elements than
// VECTOR holds nothing is stored at or past VECTOR's extent.
//
// MASK is a LOGICAL array of ARRAY's shape (8, 16, 32 or 64 bits, a 64-bit
// element true when either word is) or a scalar. A scalar MASK without
// VECTOR is tested once: false gives an empty result, true every element.
//
// Elements move by ARRAY's element width; the gathering loop is specialised
// for each width and MASK width. For the fixed widths it reads MASK in chunks
// of 32 (a contiguous LOGICAL*1 or *4 MASK through SSE2 compares) into bits,
// and moves the true elements by walking the set bits, a chunk of all true
// elements contiguous on both sides as one block. A chunk is moved only
// when the result has room for all of its true elements; the chunk that
// would overflow it goes element by element.
//
// 4- and 8-byte elements contiguous on both sides move without a branch per
// element: each 16 bytes of ARRAY (4 or 2 elements, never a byte outside
// them) are shuffled so that the selected elements come first, stored
// whole at the next result position, and the position advances by the
// number selected. Up to 16 bytes are stored past the selected elements, so
// a chunk goes this way only while they lie within the result's storage and
// are overwritten later: by the next chunk's selection, or by VECTOR's
// elements. Result elements past the final extent keep their contents.
// With AVX2, and an ARRAY that fits the caches, 4- and 8-byte elements go
// 32 bytes (8 or 4 elements) at a time through a dword permutation, and up
// to 32 bytes are stored past the selection. With AVX-512 (where its compressing store
// is fast) 4- and 8-byte elements under a contiguous MASK go 64 bytes at a
// time through one compressing store, which writes the selected elements
// and nothing else.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <climits>
#include <type_traits>

#include "array/construct.h"
#include "chars/bytes.h"
#include "array/copy_kind.h"
#include "common/inputs.h"
#include "common/mask.h"
#include "array/result.h"
#include "common/walk.h"
#include "sse2_exact.h"

namespace f90 {
namespace {

// The result side of a gather: the next result element, the byte stride
// between result elements, how many have been gathered and how many the
// result may receive.
struct Gathered {
  char* dst;
  ptrdiff_t step;
  int64_t count;
  int64_t room;
  bool overflow;     // MASK selected more elements than `room`
  const char* end;  // the end of the result's storage (when step > 0)
  bool spare;       // result elements past the gathered ones are stored later (VECTOR's)
};

// The instructions a gather may use, as the CPU allows.
using Isa = PackIsa;

// Whether a compressing store to memory is fast: AVX-512 present, except on
// AMD family 19h, whose AVX-512 cores run its memory form many times slower
// than a plain store (there the AVX2 and SSE2 forms are faster).
bool fast_compress_store() {
  return morvex::chars::have_avx512() && !__builtin_cpu_is("amdfam19h");
}

// Shuffle controls that bring the elements selected by the kElems bits of
// the index (each element kPer units of kUnit bytes) to the front, in
// order: byte controls for PSHUFB (4 elements of 4 bytes), dword indices
// (stored as bytes, widened on load) for VPERMD (4 elements of 8 bytes or 8
// of 4). The unselected lanes' entries (0x80: zero for PSHUFB, lane 0 for
// VPERMD) are never read as elements.
template <int kUnit, int kPer, int kElems>
struct Compress {
  alignas(16) uint8_t control[1 << kElems][kElems * kPer];
  uint8_t advance[1 << kElems];  // bytes selected
  constexpr Compress() : control{}, advance{} {
    for (int b = 0; b < 1 << kElems; ++b) {
      int out = 0;
      for (int e = 0; e < kElems; ++e)
        if ((b >> e) & 1) {
          for (int i = 0; i < kPer; ++i) control[b][kPer * out + i] = static_cast<uint8_t>(kPer * e + i);
          ++out;
        }
      for (int i = kPer * out; i < kElems * kPer; ++i) control[b][i] = 0x80;
      advance[b] = static_cast<uint8_t>(out * kPer * kUnit);
    }
  }
};
inline constexpr Compress<1, 4, 4> kCompress4{};
// VPERMD's controls for K-byte elements, 32 / K of them per 32 bytes.
template <uint32_t K>
inline constexpr Compress<4, K / 4, 32 / K> kPermute{};

// The selected elements of 32 contiguous 4-byte elements at a (bits: bit i
// selects element i) to d onwards; returns the position after them. Stores
// up to 16 bytes past the last selected element.
__attribute__((target("ssse3"))) inline char* compress_4x32(char* d, const char* a,
                                                                            uint32_t bits) {
  for (int j = 0; j < 8; ++j, a += 16, bits >>= 4) {
    const uint32_t b = bits & 15;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(kCompress4.control[b]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_shuffle_epi8(v, c));
    d += kCompress4.advance[b];
  }
  return d;
}

// The same for 8-byte elements, each 16 bytes as two 8-byte stores: an
// element is stored at d whether selected or not, and d advances past it
// only when it is (one store less per pair than a shuffle would need).
// Stores up to 8 bytes past the last selected element.
__attribute__((target("sse2"))) inline char* compress_8x32(char* d, const char* a, uint32_t bits) {
#pragma GCC unroll 16
  for (int j = 0; j < 16; ++j, a += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d), v);
    d += 8 * ((bits >> (2 * j)) & 1);
    _mm_storeh_pi(reinterpret_cast<__m64*>(d), _mm_castsi128_ps(v));  // a bit-exact integer move
    d += 8 * ((bits >> (2 * j + 1)) & 1);
  }
  return d;
}


// The same for 4- or 8-byte elements through AVX2, 32 bytes (8 or 4
// elements) at a time. Stores up to 32 bytes past the last selected element.
template <uint32_t K>
__attribute__((target("avx2"))) inline char* compress_32_avx2(char* d, const char* a,
                                                                              uint32_t bits) {
  constexpr int kLanes = 32 / K;
  const auto& table = kPermute<K>;
#pragma GCC unroll 8
  for (uint32_t j = 0; j < K; ++j, a += 32) {
    const uint32_t b = bits >> (kLanes * j) & ((1u << kLanes) - 1);
    const __m256i c = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(table.control[b])));
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_permutevar8x32_epi32(v, c));
    d += table.advance[b];
  }
  return d;
}

// truth_bits_32 compiled for AVX2, so that the AVX2 gather (which calls it
// once per 32 elements) has it inlined; a function of the SSE2 target is
// not inlined into a caller of the plain one on the way.
template <class Mask>
__attribute__((target("avx2"))) inline uint32_t truth_bits_32_avx2(const char* p) {
  return truth_bits_32<Mask>(p);
}

// The truths of G contiguous LOGICALs of Mask's width at p, as the low G
// bits: a load of exactly their bytes and one test per element.
template <class Mask, int G>
__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline uint32_t truths_avx512(
    const char* p) {
  constexpr int kBytes = G * static_cast<int>(Mask::kBytes), kWidth = Mask::kBytes;
  static_assert(kWidth != 8 || std::is_same_v<Mask, Logical<8>>, "a LOGICAL*8 is true when either word is");
  if constexpr (kBytes > 64) {
    return truths_avx512<Mask, G / 2>(p) | truths_avx512<Mask, G / 2>(p + 64) << (G / 2);
  } else if constexpr (kBytes <= 16) {
    const __m128i v = _mm_maskz_loadu_epi8(static_cast<__mmask16>((1u << kBytes) - 1), p);
    return kWidth == 1 ? _mm_test_epi8_mask(v, v) : _mm_test_epi16_mask(v, v);
  } else if constexpr (kBytes == 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return kWidth == 2 ? _mm256_test_epi16_mask(v, v) : _mm256_test_epi32_mask(v, v);
  } else {
    const __m512i v = _mm512_loadu_si512(p);
    return kWidth == 4 ? _mm512_test_epi32_mask(v, v) : _mm512_test_epi64_mask(v, v);
  }
}

template <uint32_t K, class Mask>
struct Gather {
  // One run of n elements: ARRAY at a (byte stride as), MASK at m (ms).
  // With SSE2 a contiguous MASK is read 32 at a time and elements of 8
  // bytes and more move through its registers; 4-byte elements are
  // compressed with SSSE3, 4- and 8-byte ones with AVX2 where the CPU has it.
  static void run(Gathered& g, const char* a, ptrdiff_t as, const char* m, ptrdiff_t ms, int64_t n,
                  uint32_t bytes, Isa isa) {
    if ((K == 4 || K == 8) && isa == Isa::avx512) {
      run_avx512(g, a, as, m, ms, n, bytes);
    } else if (K == 4 && isa == Isa::ssse3) {
      run_ssse3(g, a, as, m, ms, n, bytes);
    } else if ((K == 4 || K == 8) && isa == Isa::avx2) {
      run_avx2(g, a, as, m, ms, n, bytes);
    } else if (isa != Isa::none) {
      run_sse2(g, a, as, m, ms, n, bytes);
    } else {
      body<Isa::none>(g, a, as, m, ms, n, bytes);
    }
  }

  __attribute__((target("sse2"))) static void run_sse2(Gathered& g, const char* a, ptrdiff_t as,
                                                       const char* m, ptrdiff_t ms, int64_t n,
                                                       uint32_t bytes) {
    body<Isa::sse2>(g, a, as, m, ms, n, bytes);
  }

  __attribute__((target("ssse3"))) static void run_ssse3(Gathered& g, const char* a, ptrdiff_t as,
                                                         const char* m, ptrdiff_t ms, int64_t n,
                                                         uint32_t bytes) {
    if constexpr (K == 4) body<Isa::ssse3>(g, a, as, m, ms, n, bytes);
  }

  __attribute__((target("avx2,popcnt"))) static void run_avx2(Gathered& g, const char* a, ptrdiff_t as,
                                                              const char* m, ptrdiff_t ms, int64_t n,
                                                              uint32_t bytes) {
    if constexpr (K == 4 || K == 8) body<Isa::avx2>(g, a, as, m, ms, n, bytes);
  }

  // ARRAY, MASK and the result contiguous: each 64 bytes of ARRAY (16 or 8
  // elements) are loaded whole and their selected elements stored at the
  // next result position by one compressing store. The group that would
  // pass the result's room, the last partial group and other layouts go to
  // the chunk loop.
  __attribute__((target("avx512f,avx512bw,avx512vl,avx2,popcnt"))) static void run_avx512(
      Gathered& g, const char* a, ptrdiff_t as, const char* m, ptrdiff_t ms, int64_t n, uint32_t bytes) {
    if constexpr (K == 4 || K == 8) {
      if (as == K && g.step == K && ms == static_cast<ptrdiff_t>(Mask::kBytes)) {
        constexpr int kGroup = 64 / K;
        char* d = g.dst;
        int32_t left = static_cast<int32_t>(std::min<int64_t>(g.room - g.count, INT32_MAX));
        const char* const from = a;
        for (const char* const stop = a + n / kGroup * 64; a != stop; a += 64, m += kGroup * Mask::kBytes) {
          const uint32_t bits = truths_avx512<Mask, kGroup>(m);
          const int t = __builtin_popcount(bits);
          if (t > left) break;
          left -= t;
          const __m512i v = _mm512_loadu_si512(a);
          if constexpr (K == 8) {
            _mm512_mask_compressstoreu_epi64(d, static_cast<__mmask8>(bits), v);
          } else {
            _mm512_mask_compressstoreu_epi32(d, static_cast<__mmask16>(bits), v);
          }
          d += t * K;
        }
        g.count += (d - g.dst) / K;
        g.dst = d;
        n -= (a - from) / K;
      }
      body<K == 8 ? Isa::avx2 : Isa::ssse3>(g, a, as, m, ms, n, bytes);
    }
  }

  template <Isa kIsa>
  [[gnu::always_inline]] static void body(Gathered& g, const char* a, ptrdiff_t as, const char* m,
                                          ptrdiff_t ms, int64_t n, uint32_t bytes) {
    if constexpr (K != 0) {
      const bool wide = kIsa != Isa::none && ms == static_cast<ptrdiff_t>(Mask::kBytes);
      // Whether chunks may be compressed: contiguous 4-byte elements with
      // SSSE3 or AVX2, 8-byte ones with SSE2.
      constexpr bool kCompress = (K == 4 && kIsa >= Isa::ssse3) || (K == 8 && kIsa != Isa::none);
      // Bytes a compressed chunk may store past its selection.
      constexpr ptrdiff_t kOver = kIsa == Isa::avx2 ? 32 : 16;
      const bool dense = kCompress && as == K && g.step == K;
      // The chunks are read one ahead: a chunk is compressed only when the
      // bytes it stores past its selection will be overwritten, by the next
      // chunk's selection (kOver bytes or more) or by VECTOR's elements.
      if (dense && wide && n >= 64) {
        // Whole chunks followed by a whole chunk, each compressed while its
        // selection and the bytes stored past it fit the result's room and
        // storage (`left` bytes); the rest goes through the loop below.
        char* d = g.dst;
        ptrdiff_t left = static_cast<ptrdiff_t>(std::min<int64_t>(
            {g.end - d - kOver, (g.room - g.count) * K, int64_t{PTRDIFF_MAX}}));
        const char* const from = a;
        const char* const stop = a + (n / 32 - 1) * (32 * K);
        uint32_t bits = chunk<kIsa>(m, ms, 32, true);
        for (; a != stop; a += 32 * K) {
          const uint32_t ahead = chunk<kIsa>(m + 32 * Mask::kBytes, ms, 32, true);
          left -= __builtin_popcount(bits) * ptrdiff_t{K};
          if (left < 0 || (!g.spare && __builtin_popcount(ahead) * K < kOver)) break;
          d = compress<kIsa>(d, a, bits);
          m += 32 * Mask::kBytes;
          bits = ahead;
        }
        g.count += (d - g.dst) / K;
        g.dst = d;
        n -= (a - from) / K;
      }
      uint32_t next = n > 0 ? chunk<kIsa>(m, ms, n < 32 ? static_cast<int>(n) : 32, wide) : 0;
      while (n > 0 && !g.overflow) {
        const int c = n < 32 ? static_cast<int>(n) : 32;
        const uint32_t bits = next;
        next = n > c ? chunk<kIsa>(m + c * ms, ms, n - c < 32 ? static_cast<int>(n - c) : 32, wide) : 0;
        if (bits != 0) {
          const int t = __builtin_popcount(bits);
          if (g.count + t > g.room) {
            one_by_one(g, a, as, m, ms, c, bytes);
            return;
          }
          // Locals, so that the stores cannot be taken to change them.
          const ptrdiff_t step = g.step;
          char* d = g.dst;
          if (bits == ~uint32_t{0} && as == K && step == K) {  // a whole contiguous chunk
            std::memcpy(d, a, 32 * K);
            d += 32 * K;
          } else if (dense && c == 32 && g.end - d >= t * ptrdiff_t{K} + kOver &&
                     (g.spare || __builtin_popcount(next) * K >= kOver)) {
            d = compress<kIsa>(d, a, bits);
          } else {
            for (uint32_t b = bits; b != 0; b &= b - 1, d += step)
              Mover<K>::one(d, a + __builtin_ctz(b) * as, bytes);
          }
          g.dst = d;
          g.count += t;
        }
        a += c * as;
        m += c * ms;
        n -= c;
      }
    } else {
      one_by_one(g, a, as, m, ms, n, bytes);
    }
  }

  // The selected elements of a whole chunk (32 contiguous elements at a)
  // to d onwards, in the form of the instruction set; returns the position
  // after them.
  template <Isa kIsa>
  [[gnu::always_inline]] static char* compress(char* d, const char* a, uint32_t bits) {
    if constexpr (K == 4 && kIsa == Isa::ssse3) return compress_4x32(d, a, bits);
    if constexpr ((K == 4 || K == 8) && kIsa == Isa::avx2) return compress_32_avx2<K>(d, a, bits);
    if constexpr (K == 8 && kIsa != Isa::none && kIsa != Isa::avx2) return compress_8x32(d, a, bits);
    return d;
  }

  // MASK's chunk of c elements at p (byte stride ms) as bits; `wide`: MASK
  // is contiguous and may be read 32 at a time.
  template <Isa kIsa>
  [[gnu::always_inline]] static uint32_t chunk(const char* p, ptrdiff_t ms, int c, bool wide) {
    if constexpr (kIsa == Isa::avx2) {
      if (wide && c == 32) return truth_bits_32_avx2<Mask>(p);
    } else if constexpr (kIsa != Isa::none) {
      if (wide && c == 32) return truth_bits_32<Mask>(p);
    }
    uint32_t bits = 0;
    for (int i = 0; i < c; ++i, p += ms) bits |= uint32_t{Mask::truth(p)} << i;
    return bits;
  }

  // Element by element, storing only while the result has room.
  static void one_by_one(Gathered& g, const char* a, ptrdiff_t as, const char* m, ptrdiff_t ms,
                         int64_t n, uint32_t bytes) {
    for (int64_t i = 0; i < n; ++i, a += as, m += ms) {
      if (!Mask::truth(m)) continue;
      if (g.count == g.room) {
        g.overflow = true;
        return;
      }
      Mover<K>::one(g.dst, a, bytes);
      g.dst += g.step;
      ++g.count;
    }
  }
};

}  // namespace

PackIsa pack_isa_limit = PackIsa::avx512;

extern "C" void pack(ArrayDescriptor* result_d, ArrayDescriptor* array_d, ArrayDescriptor* mask_d,
                     ArrayDescriptor* vector_d) {
  if (!inputs_readable(array_d, mask_d, vector_d)) return;
  const Desc result(result_d), array(array_d), mask(mask_d), vector(vector_d);
  const bool has_vector = vector_d != nullptr;
  const int rank = array.rank();
  const int mask_dims = std::min(rank, mask.rank());

  // Empty call: recorded now, acted on after the result is completed.
  int32_t extent[F90_MAX_RANK];
  bool source_empty = false;  // ARRAY, or a MASK of rank 2 or more, has a zero extent
  for (int i = 0; i < rank; ++i) {
    extent[i] = array.extent(i);
    if (extent[i] <= 0) source_empty = true;
  }
  if (mask.rank() >= 2)
    for (int i = 0; i < mask_dims; ++i)
      if (mask.extent(i) <= 0) source_empty = true;
  const bool empty = source_empty || (result.assoc() && result.extent(0) <= 0) ||
                     (has_vector && vector.extent(0) <= 0);

  const ElemClass c = classify(array);
  const int64_t n = has_vector ? std::max<int64_t>(vector.extent(0), 0) : array.element_count();

  if (!result.assoc()) {
    const ResultElement elem{c.units, c.elem_bytes(), array.elem_len(), array.is_character()};
    if (!complete_result(result, 1, &n, elem, ResultRules::construction())) return;  // 1205: nothing is stored
  }

  const ptrdiff_t rstep = static_cast<ptrdiff_t>(c.byte_stride(result.stride(0)));
  const ptrdiff_t vstep = has_vector ? static_cast<ptrdiff_t>(c.byte_stride(vector.stride(0))) : 0;
  // VECTOR's elements t .. n-1 into result elements t .. n-1.
  auto vector_tail = [&](int64_t t) {
    with_moves(c, [&](auto k, uint32_t off) {
      Mover<decltype(k)::value>::line(word_at(result.base(), off) + t * rstep, rstep,
                                      word_at(vector.base(), off) + t * vstep, vstep, n - t, c.elem_bytes());
    });
  };

  if (empty) {
    if (!has_vector) {
      result.set_extent(0, 0);  // nothing was gathered
    } else if (source_empty && n >= 1 && result.extent(0) != 0) {
      vector_tail(0);
    }
    return;
  }

  const bool scalar_mask = mask.rank() == 0;
  const bool scalar_true = scalar_mask && logical_true(mask.base(), logical_bytes(mask.elem_len()));
  if (scalar_mask && !scalar_true && !has_vector) {
    result.set_extent(0, 0);
    return;
  }

  WalkArray wa = walk_array(array, c);
  WalkArray wm = walk_mask(mask, mask_dims);
  const ptrdiff_t as = static_cast<ptrdiff_t>(wa.stride[0]);
  const ptrdiff_t ms = static_cast<ptrdiff_t>(wm.stride[0]);
  int64_t count = 0;
  bool overflow = false, first_pass = true;
  // The AVX2 compression's overlapping 32-byte stores are faster only while
  // the result stays in the caches; past them the SSE2 stores are.
  const bool cached = array.element_count() * c.elem_bytes() < kStreamBytes;
  const Isa isa = std::min(!x87::have_sse2()                         ? Isa::none
                           : fast_compress_store()                ? Isa::avx512
                           : morvex::chars::have_avx2() && cached ? Isa::avx2
                           : morvex::chars::have_ssse3()          ? Isa::ssse3
                                                                  : Isa::sse2,
                           pack_isa_limit);
  // The result's storage: VECTOR's extent or size(ARRAY) when allocated
  // here, what the caller gave otherwise.
  const int64_t stored = std::min<int64_t>(n, std::max(result.extent(0), 0));
  with_moves(c, [&](auto k, uint32_t off) {
    constexpr uint32_t K = decltype(k)::value;
    char* const first = word_at(result.base(), off);
    Gathered g{first, rstep, 0, n, false, rstep > 0 && first != nullptr ? first + stored * rstep : first, has_vector};
    WalkArray a = wa;
    a.base += off;
    if (scalar_mask) {
      // A scalar MASK selects every element or none: whole runs, moved as
      // blocks where they are contiguous.
      if (scalar_true) {
        walk_runs(rank, extent, std::array<WalkArray*, 1>{&a},
                  [&](const std::array<char*, 1>& o, int64_t len) {
                    const int64_t m = std::min(len, g.room - g.count);
                    Mover<K>::line(g.dst, g.step, o[0], as, m, c.elem_bytes());
                    g.dst += m * g.step;
                    g.count += m;
                    if (m < len) g.overflow = true;
                  });
      }
    } else {
      with_logical(logical_bytes(mask.elem_len()), [&](auto w) {
        walk_runs(rank, extent, std::array<WalkArray*, 2>{&a, &wm},
                  [&](const std::array<char*, 2>& o, int64_t len) {
                    Gather<K, decltype(w)>::run(g, o[0], as, o[1], ms, len, c.elem_bytes(), isa);
                  });
      });
    }
    if (first_pass) {
      count = g.count;
      overflow = g.overflow;
      first_pass = false;
    }
  });

  if (!has_vector) {
    result.set_extent(0, static_cast<int32_t>(count));
  } else if (overflow) {
    // More selected elements than VECTOR holds: the first n were stored and
    // the extent stays VECTOR's.
  } else if (count == n) {
    result.set_extent(0, static_cast<int32_t>(count));
  } else {
    vector_tail(count);
  }
}

}  // namespace f90
