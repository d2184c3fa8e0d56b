// TRANSFER(SOURCE, MOLD [, SIZE]): the bytes of SOURCE read as values of
// MOLD's type.
//
// The source stream is SOURCE's bytes in array element order, each element's
// bytes contiguous at its address. The result is a scalar of MOLD's type when
// MOLD is a scalar and SIZE is absent, otherwise a rank-1 array: SIZE
// elements, or as many as the stream fills (rounded up). An array result
// receives the first min(source bytes, result bytes) bytes of the stream,
// element by element through the result's stride; bytes beyond them keep
// what the storage held. A scalar result repeats an array SOURCE's stream
// until its bytes are full; a scalar SOURCE gives at most its own bytes.
//
// Strides count bytes for byte-granular operands (CHARACTER, byte-laid
// derived types, 8- and 16-bit INTEGER and LOGICAL) and 32-bit words for all
// others. Both copy modes produce the same bytes, so one engine serves them:
// the stream is cut into runs that are contiguous in memory (a whole
// dimension-0 line when SOURCE is contiguous along it, else a buffer of
// gathered elements) and each run goes into the result with block copies,
// as one block when the result is contiguous. Into a contiguous result the
// elements of a strided SOURCE are gathered in place, through SSE2 for 4-
// and 8-byte elements (AVX-512 or AVX2 for elements two apart). Only SOURCE's
// elements are read, never the bytes between them.
//
// Sizes are 64-bit. A result that would exceed 0x7FFFFFFF bytes is reported
// as 1205 and nothing is stored.
//
// Empty operands: with SIZE absent and an empty SOURCE, a scalar result is
// all zero bytes and an array result is empty; with SIZE present and an
// empty SOURCE or MOLD, the SIZE elements are all zero bytes. A result the
// caller supplies (assoc set) keeps its base and dimension words on every
// such path.
#include "array/transfer.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "array/result.h"
#include "chars/bytes.h"
#include "common/inputs.h"
#include "array/copy_kind.h"
#include "common/walk.h"
#include "sse2_exact.h"

namespace {

using f90::Desc;

// How TRANSFER sees one operand's element.
struct Operand {
  bool byte_granular;
  int64_t bytes;   // element size in bytes
  int32_t words;   // element size in 32-bit words (word-granular operands)
  int64_t unit;    // bytes per stride unit

  // The stride of a result laid out by the routine: mb for byte-granular
  // MOLDs, mw otherwise.
  int32_t stride_unit() const {
    return byte_granular ? static_cast<int32_t>(bytes) : words;
  }
};

Operand operand(Desc d) {
  const int8_t code = d.type_code();
  const uint32_t int_len = d.int_len();
  const bool small_int =
      (code == TYPE_INTEGER || code == TYPE_LOGICAL) && int_len < 32;
  Operand o{};
  o.byte_granular = code == TYPE_CHARACTER || code == TYPE_DERIVED_BYTES || small_int;
  if (code == TYPE_CHARACTER) {
    o.bytes = d.elem_len();
  } else if (o.byte_granular) {
    o.bytes = d.elem_len() / 8;
  } else {
    o.words = static_cast<int32_t>((code == TYPE_DERIVED_WORDS ? d.elem_len() : int_len) / 32);
    o.bytes = int64_t{o.words} * 4;
  }
  o.unit = o.byte_granular ? 1 : 4;
  return o;
}

int64_t saturating_mul(int64_t a, int64_t b) {
  int64_t r;
  return __builtin_mul_overflow(a, b, &r) ? INT64_MAX : r;
}

// Writes words 0-1 of a CHARACTER result as {addr, len}, or just `base`.
void set_storage(Desc r, Desc mold, char* addr, int64_t mb) {
  if (mold.is_character()) {
    CharDescriptor slot;
    f90::cptofcd(&slot, addr, static_cast<uint32_t>(mb));
    std::memcpy(r.raw(), &slot, sizeof slot);
  } else {
    r.set_base(addr);
  }
}

// An empty result without storage, for a result the routine lays out:
// base 0 and, for an array, extent 0 (assoc stays as it was).
void set_empty(Desc r, Desc mold, const Operand& mo, bool char_desc) {
  if (r.assoc()) return;
  if (char_desc) {
    set_storage(r, mold, nullptr, mo.bytes);
  } else {
    r.set_base(nullptr);
  }
  if (r.rank() >= 1) r.set_dim(0, 1, 0, mo.stride_unit());
}

// Completes a result the routine lays out: `extent` elements along
// dimension 0 (for an array result) and `bytes` of storage, asked for even
// when 0. False, with nothing to store, after a 1205 report.
bool complete(Desc r, Desc mold, const Operand& mo, int64_t extent, int64_t bytes) {
  r.set_base(nullptr);
  r.set_alloc(nullptr, 0);
  if (r.rank() >= 1) r.set_dim(0, 1, static_cast<int32_t>(extent), mo.stride_unit());
  if (bytes > f90::kMaxResultBytes) {
    f90::report(ERR_ALLOC_FAILED);
    return false;
  }
  void* storage = _F90ALLOC(static_cast<uint32_t>(bytes), 0);
  if (storage == nullptr) {
    f90::report(ERR_ALLOC_FAILED);
    return false;
  }
  r.set_assoc(true);
  r.set_elem_len(mold.elem_len());
  set_storage(r, mold, static_cast<char*>(storage), mo.bytes);
  r.set_alloc(storage, static_cast<uint32_t>(bytes) * 8u);
  return true;
}

// The result's bytes, filled in stream order: element k is mb bytes at
// base + k * stride. A contiguous result is one flat block.
class Sink {
 public:
  Sink(char* base, int64_t stride, int64_t mb, int64_t limit)
      : next_(base), stride_(stride), mb_(mb), left_(limit) {}

  int64_t left() const { return left_; }

  // Takes up to len bytes; false once the result is full.
  bool put(const char* p, int64_t len) {
    if (len > left_) len = left_;
    left_ -= len;
    if (stride_ == mb_) {  // contiguous
      std::memcpy(next_, p, static_cast<size_t>(len));
      next_ += len;
      return left_ > 0;
    }
    while (len > 0) {
      const int64_t take = std::min(len, mb_ - offset_);
      std::memcpy(next_ + offset_, p, static_cast<size_t>(take));
      p += take;
      len -= take;
      offset_ += take;
      if (offset_ == mb_) {
        offset_ = 0;
        next_ += stride_;
      }
    }
    return left_ > 0;
  }

  // A contiguous sink: its next bytes may be written in place, and skip()
  // then takes them (len <= left()).
  bool contiguous() const { return stride_ == mb_; }
  char* next() const { return next_; }
  bool skip(int64_t len) {
    next_ += len;
    left_ -= len;
    return left_ > 0;
  }

  // Zero bytes in place of the stream.
  void zero() {
    static const char kZeros[256] = {};
    while (left_ > 0 && put(kZeros, std::min<int64_t>(left_, sizeof kZeros))) {
    }
  }

 private:
  char* next_;
  int64_t stride_, mb_, left_;
  int64_t offset_ = 0;
};

// Copies n elements of `bytes` bytes, `stride` apart, into a packed buffer.
template <size_t kBytes>
void gather(char* out, const char* p, int64_t stride, int64_t n, size_t bytes) {
  const size_t size = kBytes != 0 ? kBytes : bytes;
  for (int64_t i = 0; i < n; ++i, p += stride, out += size) std::memcpy(out, p, size);
}

// The same through SSE2 registers for 4- and 8-byte elements at any
// stride: each element loaded on its own (the bytes between elements are
// not SOURCE's to read), four or two of them interleaved into one 16-byte
// store, bits unchanged; with kStream the stores bypass the caches (`out`
// is then 16-byte aligned).
template <bool kStream>
__attribute__((target("sse2"))) void gather_sse2(char* out, const char* p, int64_t stride, int64_t n,
                                                 size_t bytes) {
  const auto at = [&](int64_t j) { return p + j * stride; };
  int64_t i = 0;
  if (bytes == 4) {
    for (; i + 4 <= n; i += 4, p += 4 * stride, out += 16) f90::store16<kStream>(out, f90::gather16<4>(at));
  } else {
    for (; i + 2 <= n; i += 2, p += 2 * stride, out += 16) f90::store16<kStream>(out, f90::gather16<8>(at));
  }
  if constexpr (kStream) _mm_sfence();
  gather<0>(out, p, stride, n - i, bytes);
}

// Elements two apart (stride 2K, K = 4 or 8 bytes) through AVX2 masked
// loads: each 32-byte load takes only the elements (its mask leaves the
// words between them unread), and a shuffle packs the two loads' elements
// into one 32-byte store, bits unchanged. A load never reaches past the
// start of the group's next element, so every byte it could touch lies
// inside SOURCE's span; the rest goes to gather_sse2. Returns the count
// moved.
template <bool kStream, uint32_t K>
__attribute__((target("avx2"))) int64_t gather_pairs_avx2(char* out, const char* p, int64_t n) {
  static_assert(K == 4 || K == 8);
  const __m256i mask = K == 4 ? _mm256_setr_epi32(-1, 0, -1, 0, -1, 0, -1, 0)
                              : _mm256_setr_epi32(-1, -1, 0, 0, -1, -1, 0, 0);
  constexpr int64_t kPer = 32 / K;  // elements per store
  const int64_t groups = n > kPer ? (n - 1) / kPer : 0;
  for (const char* const stop = p + groups * 64; p != stop; p += 64, out += 32) {
    // Masked loads do not set the hardware prefetchers going: the source
    // 1 KiB ahead is asked for here (a hint, which never faults).
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 1024), _MM_HINT_T0);
    const __m256i a = _mm256_maskload_epi32(reinterpret_cast<const int*>(p), mask);
    const __m256i b = _mm256_maskload_epi32(reinterpret_cast<const int*>(p + 32), mask);
    // 4-byte: words 0, 2 of each half of a, then of b; 8-byte: the low
    // quadword of each half of a, then of b. Then the halves in order.
    __m256i ab;
    if constexpr (K == 4) {
      ab = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), 0x88));
    } else {
      ab = _mm256_unpacklo_epi64(a, b);
    }
    f90::store32<kStream>(out, _mm256_permute4x64_epi64(ab, 0xD8));
  }
  if constexpr (kStream) _mm_sfence();
  return groups * kPer;
}

// The same through AVX-512, 64 bytes of result at a time: the masks of the
// two 64-byte loads take only the elements (masked-out lanes are not loaded
// and cannot fault), one two-source permutation packs them. Streamed, `out`
// is 64-byte aligned and each store writes one whole line.
template <bool kStream, uint32_t K>
__attribute__((target("avx512f,avx2"))) int64_t gather_pairs_avx512(char* out, const char* p, int64_t n) {
  static_assert(K == 4 || K == 8);
  constexpr int64_t kPer = 64 / K;  // elements per store
  const __m512i pick = K == 4 ? _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30)
                              : _mm512_setr_epi64(0, 2, 4, 6, 8, 10, 12, 14);
  const int64_t groups = n > kPer ? (n - 1) / kPer : 0;
  for (const char* const stop = p + groups * 128; p != stop; p += 128, out += 64) {
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 2048), _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 2048 + 64), _MM_HINT_T0);
    __m512i v;
    if constexpr (K == 4) {
      v = _mm512_permutex2var_epi32(_mm512_maskz_loadu_epi32(0x5555, p), pick,
                                    _mm512_maskz_loadu_epi32(0x5555, p + 64));
    } else {
      v = _mm512_permutex2var_epi64(_mm512_maskz_loadu_epi64(0x55, p), pick,
                                    _mm512_maskz_loadu_epi64(0x55, p + 64));
    }
    f90::store64<kStream>(out, v);
  }
  if constexpr (kStream) _mm_sfence();
  return groups * kPer;
}

// Elements two apart through AVX-512 where the CPU has it, the rest (or
// all) through AVX2. Returns the count moved. Streamed, the elements
// before the result's first line boundary go through SSE2 (`out` is then
// 16-byte aligned: whole 16-byte stores), so that the AVX-512 stores start
// on a line.
template <bool kStream, uint32_t K>
int64_t gather_pairs(char* out, const char* p, int64_t n) {
  int64_t k = 0;
  if (morvex::chars::have_avx512()) {
    if constexpr (kStream) {
      k = std::min<int64_t>(n, (64 - (reinterpret_cast<uintptr_t>(out) & 63)) % 64 / K);
      gather_sse2<true>(out, p, 2 * K, k, K);
    }
    k += gather_pairs_avx512<kStream, K>(out + k * K, p + 2 * k * K, n - k);
  }
  return k + gather_pairs_avx2<kStream, K>(out + k * K, p + 2 * k * K, n - k);
}

// Gathers into `out`: SSE2 where it applies (`stream` asks for stores
// past the caches, honoured when `out` is 16-byte aligned), else element by
// element.
void gather_any(char* out, const char* p, int64_t stride, int64_t n, size_t bytes, bool sse2,
                bool stream) {
  if (sse2 && (bytes == 4 || bytes == 8)) {
    if (stride == static_cast<int64_t>(2 * bytes) && morvex::chars::have_avx2()) {
      const int64_t k = stream && (reinterpret_cast<uintptr_t>(out) & 15) == 0
                            ? (bytes == 4 ? gather_pairs<true, 4>(out, p, n) : gather_pairs<true, 8>(out, p, n))
                            : (bytes == 4 ? gather_pairs<false, 4>(out, p, n) : gather_pairs<false, 8>(out, p, n));
      out += k * static_cast<int64_t>(bytes);
      p += k * stride;
      n -= k;
    }
    if (stream && (reinterpret_cast<uintptr_t>(out) & 15) == 0) {
      gather_sse2<true>(out, p, stride, n, bytes);
    } else {
      gather_sse2<false>(out, p, stride, n, bytes);
    }
    return;
  }
  switch (bytes) {
    case 1: return gather<1>(out, p, stride, n, bytes);
    case 2: return gather<2>(out, p, stride, n, bytes);
    case 4: return gather<4>(out, p, stride, n, bytes);
    case 8: return gather<8>(out, p, stride, n, bytes);
    case 16: return gather<16>(out, p, stride, n, bytes);
    default: return gather<0>(out, p, stride, n, bytes);
  }
}

// Feeds SOURCE's stream to the sink, run by run, until the stream ends or
// the sink is full. A line of SOURCE that is contiguous goes as one run;
// the elements of a strided line are gathered: straight into a contiguous
// sink (streamed past the caches for a large one), else through a buffer.
// False when the sink is full.
bool feed(Desc s, const Operand& so, Sink& sink) {
  if (s.rank() == 0) return sink.put(s.base(), so.bytes);
  int32_t extent[F90_MAX_RANK];
  f90::WalkArray w{s.base(), {}};
  for (int i = 0; i < s.rank(); ++i) {
    extent[i] = s.extent(i);
    w.stride[i] = int64_t{s.stride(i)} * so.unit;
  }
  const int64_t sb = so.bytes, ss = w.stride[0];
  char buffer[4096];
  const int64_t per_buffer = sb <= 0 ? 0 : static_cast<int64_t>(sizeof buffer) / sb;
  const bool sse2 = x87::have_sse2();
  // Stores go past the caches only for results above 2 x kStreamBytes: a
  // gathered result of 4 MiB and its source (8 MiB or more) still fit the
  // last-level cache, where plain stores measured faster (and leave the
  // result there for its consumer); at 16 MiB streamed stores are faster.
  const bool stream = sink.left() > 2 * f90::kStreamBytes;
  bool more = true;
  f90::walk_runs(s.rank(), extent, std::array<f90::WalkArray*, 1>{&w},
                 [&](const std::array<char*, 1>& o, int64_t n) -> bool {
                   if (ss == sb) return more = sink.put(o[0], n * sb);
                   const char* p = o[0];
                   if (sb > 0 && sink.contiguous()) {  // whole elements straight into the result
                     const int64_t k = std::min(n, sink.left() / sb);
                     gather_any(sink.next(), p, ss, k, static_cast<size_t>(sb), sse2, stream);
                     if (!(more = sink.skip(k * sb))) return false;
                     p += k * ss;
                     n -= k;
                   }
                   if (per_buffer == 0) {  // elements longer than the buffer
                     for (int64_t i = 0; i < n; ++i, p += ss)
                       if (!(more = sink.put(p, sb))) return false;
                     return true;
                   }
                   for (int64_t i = 0; i < n; i += per_buffer) {
                     const int64_t k = std::min(per_buffer, n - i);
                     gather_any(buffer, p + i * ss, ss, k, static_cast<size_t>(sb), sse2, false);
                     if (!(more = sink.put(buffer, k * sb))) return false;
                   }
                   return true;
                 });
  return more;
}

// The result's bytes as a sink: a scalar's first mb (at most `cap`) bytes,
// or up to `bytes` of an array's elements (never past the extent of a
// result the caller supplied).
Sink result_sink(Desc r, const Operand& mo, int64_t bytes, int64_t cap, bool caller_storage) {
  const int64_t mb = mo.bytes;
  if (r.rank() == 0) return Sink(r.base(), mb, mb, std::min(mb, cap));
  const int64_t rs = int64_t{r.stride(0)} * mo.unit;
  int64_t limit = bytes;
  if (caller_storage) limit = std::min(limit, saturating_mul(std::max(r.extent(0), 0), mb));
  return Sink(r.base(), rs, mb, limit);
}

// The worker behind every entry point. `cap` bounds the bytes written into a
// scalar result (the scalar entry points' local slot).
void transfer_into(Desc r, Desc s, Desc m, const int32_t* size, int64_t cap) {
  // MOLD gives only its type and size: its elements are never read.
  if (!f90::inputs_readable_with(m.raw(), s.raw())) return;
  if (r.assoc() && r.rank() >= 1 && r.extent(0) == 0) return;

  const Operand so = operand(s);
  const Operand mo = operand(m);
  const int64_t mb = mo.bytes;
  const bool mold_array = m.rank() > 0;
  const bool caller_storage = r.assoc();
  const int64_t ts = saturating_mul(s.element_count(), so.bytes);

  if (size != nullptr && *size < 1) {
    set_empty(r, m, mo, false);
    return;
  }

  const bool source_empty = s.rank() == 0 ? so.byte_granular && so.bytes == 0
                                          : s.element_count() == 0;
  const bool mold_empty = m.rank() == 0 ? mo.byte_granular && mb == 0
                                        : m.element_count() == 0;

  // Result bytes and, for an array result, its extent.
  int64_t tr, extent;
  if (size != nullptr) {
    extent = *size;
    tr = mb * extent;
  } else if (!mold_array) {
    extent = 1;
    tr = mb;
  } else {
    extent = mb == 0 ? 0 : ts / mb + (ts % mb != 0);
    tr = saturating_mul(extent, mb);
  }

  bool zero_fill = false;
  if (size == nullptr && source_empty) {
    if (mold_array) {
      set_empty(r, m, mo, true);
      return;
    }
    zero_fill = true;
  } else if (size != nullptr && (source_empty || mold_empty)) {
    zero_fill = true;
  } else if (size == nullptr && mo.byte_granular && mb == 0) {
    if (mold_array) f90::report(ERR_TRANSFER_ZERO_MOLD);
    set_empty(r, m, mo, true);
    return;
  }

  if (!caller_storage && !complete(r, m, mo, extent, tr)) return;
  if (r.base() == nullptr) return;

  Sink sink = result_sink(r, mo, tr, cap, caller_storage);
  if (zero_fill) {
    sink.zero();
  } else if (r.rank() == 0 && s.rank() > 0) {
    // A scalar result repeats the stream; a stream of no bytes cannot, and
    // leaves the result zero.
    if (ts == 0) {
      sink.zero();
    } else {
      while (feed(s, so, sink)) {
      }
    }
  } else {
    feed(s, so, sink);
  }
}

// The scalar entry points build their result in a zeroed local slot: rank
// 0, assoc set, MOLD's element length, type code and int_len. Nothing is
// allocated, and at most the slot's size is written.
struct ScalarValue {
  alignas(8) unsigned char bytes[32] = {};
  bool read;  // false when an input had no storage (reported by the worker)

  ScalarValue(ArrayDescriptor* source, ArrayDescriptor* mold, const int32_t* size, int64_t cap)
      : read(f90::input_readable(source) && f90::input_present(mold)) {
    const Desc m(mold);
    ArrayDescriptor r;
    f90::scalar_result_descriptor(
        r, bytes, m.elem_len(),
        m.type_word() & (F90_TW_TYPE_CODE_MASK | F90_TW_INT_LEN_MASK));
    transfer_into(Desc(&r), Desc(source), m, size, cap);
  }
};

}  // namespace

void transfer_worker(ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* mold,
                     const int32_t* size, int32_t /*selector*/) {
  transfer_into(Desc(result), Desc(source), Desc(mold), size, INT64_MAX);
}

void transfer_array(ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* mold,
                    const int32_t* size) {
  transfer_into(Desc(result), Desc(source), Desc(mold), size, INT64_MAX);
}

namespace {

int32_t first_word(ArrayDescriptor* source, ArrayDescriptor* mold, const int32_t* size) {
  const ScalarValue v(source, mold, size, 4);
  int32_t w;
  std::memcpy(&w, v.bytes, 4);
  return w;
}

}  // namespace

int32_t transfer_word(ArrayDescriptor* source, ArrayDescriptor* mold, const int32_t* size) {
  return first_word(source, mold, size);
}

int32_t transfer_word_4(ArrayDescriptor* source, ArrayDescriptor* mold, const int32_t* size) {
  return first_word(source, mold, size);
}

double transfer_double(ArrayDescriptor* source, ArrayDescriptor* mold, const int32_t* size) {
  const ScalarValue v(source, mold, size, 8);
  double d;
  std::memcpy(&d, v.bytes, 8);
  return d;
}

void* transfer_32_bytes(void* slot, ArrayDescriptor* source, ArrayDescriptor* mold,
                        const int32_t* size) {
  const ScalarValue v(source, mold, size, 32);
  if (v.read) std::memcpy(slot, v.bytes, 32);
  return slot;
}
