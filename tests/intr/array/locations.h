// The MAXLOC and MINLOC entry points and workers as compiled code calls them,
// and a table of them per element type for the tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "reductions.h"

namespace loc {

using red::Desc;
using LocEntry = void (*)(Desc*, Desc*, Desc*);           // result, source, mask
using LocDimEntry = void (*)(Desc*, Desc*, Desc*, Desc*);  // result, source, dim, mask
using LocWorker = void (*)(Desc*, Desc*, Desc*, Desc*, int32_t);


// The entries of one element type, both directions and both forms.
struct Entries {
  const char* name;
  f90test::ElemType type;
  int32_t code;
  LocEntry max, min;
  LocDimEntry max_dim, min_dim;
};

inline const Entries kEntries[] = {
    {"I1", f90test::ElemType::integer(1), red::I1, _MAXLOC_I1, _MINLOC_I1, _MAXLOC__I1, _MINLOC__I1},
    {"I2", f90test::ElemType::integer(2), red::I2, _MAXLOC_I2, _MINLOC_I2, _MAXLOC__I2, _MINLOC__I2},
    {"I4", f90test::ElemType::integer(4), red::I4, _MAXLOC_I4, _MINLOC_I4, _MAXLOC__I4, _MINLOC__I4},
    {"I", f90test::ElemType::integer(8), red::I8, _MAXLOC_I, _MINLOC_I, _MAXLOC__I, _MINLOC__I},
    {"J", f90test::ElemType::integer(8), red::I8, _MAXLOC_J, _MINLOC_J, _MAXLOC__J, _MINLOC__J},
    {"S4", f90test::ElemType::real(4), red::R4, _MAXLOC_S4, _MINLOC_S4, _MAXLOC__S4, _MINLOC__S4},
    {"S", f90test::ElemType::real(8), red::R8, _MAXLOC_S, _MINLOC_S, _MAXLOC__S, _MINLOC__S},
    {"D", f90test::ElemType::real(16), red::R16, _MAXLOC_D, _MINLOC_D, _MAXLOC__D, _MINLOC__D},
};

inline const Entries& entries(const char* name) {
  for (const auto& e : kEntries)
    if (std::strcmp(e.name, name) == 0) return e;
  return kEntries[0];
}

// A rank-0 DIM argument of the given integer width.
struct DimArg {
  f90test::TestArray a;
  DimArg(int64_t value, int bytes = 4) : a(f90test::ElemType::integer(bytes), {}) {
    std::memcpy(a.at_linear(0), &value, bytes);
  }
  Desc* desc() { return a.desc(); }
};

// ---- A naive model of MAXLOC and MINLOC ----------------------------------

// The considered elements of one search, in order: (position, address).
using Seq = std::vector<std::pair<int64_t, const char*>>;

// The value of an element as a key that orders like the element type, or
// nothing for a NaN (and for a REAL*16 whose high part is not finite).
inline std::optional<long double> key(const Entries& e, const char* p) {
  switch (e.code) {
    case red::R4: {
      float f;
      std::memcpy(&f, p, 4);
      if (std::isnan(f)) return std::nullopt;
      return f;
    }
    case red::R8: {
      double d;
      std::memcpy(&d, p, 8);
      if (std::isnan(d)) return std::nullopt;
      return d;
    }
    case red::R16: {
      red::Real16 v;
      std::memcpy(&v, p, 16);
      if (!std::isfinite(v.hi)) return std::nullopt;
      return static_cast<long double>(v.hi) + v.lo;  // exact: the low part is 2^-60 of the high
    }
    default: {
      uint64_t v = 0;
      std::memcpy(&v, p, e.type.bytes());
      const int sh = 64 - static_cast<int>(e.type.bytes()) * 8;
      return static_cast<long double>(static_cast<int64_t>(v << sh) >> sh);
    }
  }
}

// The position found in a sequence: the first greatest (least) element;
// for REAL*4/8 MAXLOC, the last element when it is a NaN, else the first
// greatest of those after the last NaN. `none` when nothing is found.
inline int64_t model_position(const Entries& e, bool max, const Seq& seq, int64_t none) {
  size_t from = 0;
  if (max && (e.code == red::R4 || e.code == red::R8)) {
    for (size_t i = 0; i < seq.size(); ++i)
      if (!key(e, seq[i].second)) from = i + 1;
    if (from == seq.size() && from > 0) return seq.back().first;
  }
  int64_t best = none;
  std::optional<long double> bk;
  for (size_t i = from; i < seq.size(); ++i) {
    const auto k = key(e, seq[i].second);
    if (!k) continue;
    if (!bk || (max ? *k > *bk : *k < *bk)) {
      bk = k;
      best = seq[i].first;
    }
  }
  return best;
}

}  // namespace loc
