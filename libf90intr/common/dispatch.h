// From a run-time element description to a compile-time one.
//
//   ElemKind k;
//   if (!kind_of(TYPE_REAL, 8, k)) ...            // type code and element bytes
//   with_kind(k, [&](auto kc) { Arith<kc.value>::... });
//   with_type(d.type_code(), d.elem_bytes(), f);   // both steps at once
//   with_width(bytes, [&](auto w) { ... w.value ... });  // 1, 2, 4, 8, 16, 32
//   with_width<Widths::any>(bytes, f);             // those, any other size as 0
//
// Each returns whether f was called: the caller decides what an unknown
// element reports. f is instantiated once per kind (or width), so the loops
// inside it see a fixed element type and never switch per element.
#pragma once

#include <cstdint>
#include <type_traits>

#include "f90/descriptor.h"

namespace f90 {

// The element kinds the arithmetic routines work on.
enum class ElemKind : uint8_t { i1, i2, i4, i8, r4, r8, r16, c8, c16, c32, l1, l2, l4, l8 };

template <ElemKind K>
using KindConstant = std::integral_constant<ElemKind, K>;

// The kind of an element of type code `code` taking `bytes` bytes; false
// for any other pair (CHARACTER, derived types, odd sizes).
inline bool kind_of(int32_t code, uint32_t bytes, ElemKind& kind) {
  static constexpr ElemKind kIntegers[] = {ElemKind::i1, ElemKind::i2, ElemKind::i4, ElemKind::i8};
  static constexpr ElemKind kLogicals[] = {ElemKind::l1, ElemKind::l2, ElemKind::l4, ElemKind::l8};
  static constexpr ElemKind kReals[] = {ElemKind::r4, ElemKind::r8, ElemKind::r16};
  static constexpr ElemKind kComplexes[] = {ElemKind::c8, ElemKind::c16, ElemKind::c32};
  // log2 of bytes for 1, 2, 4, 8, 16, 32; -1 otherwise.
  const int lg = bytes == 0 || (bytes & (bytes - 1)) != 0 || bytes > 32 ? -1 : __builtin_ctz(bytes);
  switch (code) {
    case TYPE_INTEGER:
      if (lg < 0 || lg > 3) return false;
      kind = kIntegers[lg];
      return true;
    case TYPE_LOGICAL:
      if (lg < 0 || lg > 3) return false;
      kind = kLogicals[lg];
      return true;
    case TYPE_REAL:
      if (lg < 2 || lg > 4) return false;
      kind = kReals[lg - 2];
      return true;
    case TYPE_COMPLEX:
      if (lg < 3 || lg > 5) return false;
      kind = kComplexes[lg - 3];
      return true;
    default: return false;
  }
}

// Calls f(KindConstant<K>{}) for the run-time kind k.
template <class F>
inline bool with_kind(ElemKind k, F&& f) {
  switch (k) {
    case ElemKind::i1: f(KindConstant<ElemKind::i1>{}); return true;
    case ElemKind::i2: f(KindConstant<ElemKind::i2>{}); return true;
    case ElemKind::i4: f(KindConstant<ElemKind::i4>{}); return true;
    case ElemKind::i8: f(KindConstant<ElemKind::i8>{}); return true;
    case ElemKind::r4: f(KindConstant<ElemKind::r4>{}); return true;
    case ElemKind::r8: f(KindConstant<ElemKind::r8>{}); return true;
    case ElemKind::r16: f(KindConstant<ElemKind::r16>{}); return true;
    case ElemKind::c8: f(KindConstant<ElemKind::c8>{}); return true;
    case ElemKind::c16: f(KindConstant<ElemKind::c16>{}); return true;
    case ElemKind::c32: f(KindConstant<ElemKind::c32>{}); return true;
    case ElemKind::l1: f(KindConstant<ElemKind::l1>{}); return true;
    case ElemKind::l2: f(KindConstant<ElemKind::l2>{}); return true;
    case ElemKind::l4: f(KindConstant<ElemKind::l4>{}); return true;
    case ElemKind::l8: f(KindConstant<ElemKind::l8>{}); return true;
  }
  return false;
}

template <class F>
inline bool with_type(int32_t code, uint32_t bytes, F&& f) {
  ElemKind k;
  return kind_of(code, bytes, k) && with_kind(k, f);
}

// Which element sizes with_width accepts.
enum class Widths : uint8_t {
  kinds,  // 1, 2, 4, 8, 16 and 32 bytes; any other size calls nothing
  any,    // those, and any other size as N = 0: f reads the size at run time
          // (CHARACTER, derived types: the routines that move elements unseen)
};

// Calls f(std::integral_constant<uint32_t, N>{}) for an element of N = 1, 2,
// 4, 8, 16 or 32 bytes; for any other size, f(integral_constant<uint32_t,
// 0>{}) under Widths::any and nothing (false) otherwise.
template <Widths W = Widths::kinds, class F>
inline bool with_width(uint32_t bytes, F&& f) {
  switch (bytes) {
    case 1: f(std::integral_constant<uint32_t, 1>{}); return true;
    case 2: f(std::integral_constant<uint32_t, 2>{}); return true;
    case 4: f(std::integral_constant<uint32_t, 4>{}); return true;
    case 8: f(std::integral_constant<uint32_t, 8>{}); return true;
    case 16: f(std::integral_constant<uint32_t, 16>{}); return true;
    case 32: f(std::integral_constant<uint32_t, 32>{}); return true;
    default:
      if constexpr (W == Widths::any) {
        f(std::integral_constant<uint32_t, 0>{});
        return true;
      } else {
        return false;
      }
  }
}

}  // namespace f90
