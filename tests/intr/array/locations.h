// The MAXLOC and MINLOC entry points and workers as compiled code calls them,
// and a table of them per element type for the tests.
#pragma once

#include <cstdint>
#include <cstring>

#include "descriptor_builder.h"
#include "reductions.h"

namespace loc {

using red::Desc;
using LocEntry = void (*)(Desc*, Desc*, Desc*);           // result, source, mask
using LocDimEntry = void (*)(Desc*, Desc*, Desc*, Desc*);  // result, source, dim, mask
using LocWorker = void (*)(Desc*, Desc*, Desc*, Desc*, int32_t);

extern "C" {
#define LOC_DECLARE(PFX, T)                                               \
  void PFX##_##T(Desc*, Desc*, Desc*) __asm__("_" #PFX "_" #T);           \
  void PFX##__##T(Desc*, Desc*, Desc*, Desc*) __asm__("_" #PFX "__" #T);
#define LOC_DECLARE_ALL(PFX)                                                              \
  LOC_DECLARE(PFX, I4) LOC_DECLARE(PFX, I2) LOC_DECLARE(PFX, I1) LOC_DECLARE(PFX, I)      \
  LOC_DECLARE(PFX, J) LOC_DECLARE(PFX, S) LOC_DECLARE(PFX, D) LOC_DECLARE(PFX, S4)
LOC_DECLARE_ALL(MAXLOC)
LOC_DECLARE_ALL(MINLOC)
void maxloc_worker(Desc*, Desc*, Desc*, Desc*, int32_t) __asm__("__maxloc");
void minloc_worker(Desc*, Desc*, Desc*, Desc*, int32_t) __asm__("__minloc");
}

// The entries of one element type, both directions and both forms.
struct Entries {
  const char* name;
  f90test::ElemType type;
  int32_t code;
  LocEntry max, min;
  LocDimEntry max_dim, min_dim;
};

inline const Entries kEntries[] = {
    {"I1", f90test::ElemType::integer(1), red::I1, MAXLOC_I1, MINLOC_I1, MAXLOC__I1, MINLOC__I1},
    {"I2", f90test::ElemType::integer(2), red::I2, MAXLOC_I2, MINLOC_I2, MAXLOC__I2, MINLOC__I2},
    {"I4", f90test::ElemType::integer(4), red::I4, MAXLOC_I4, MINLOC_I4, MAXLOC__I4, MINLOC__I4},
    {"I", f90test::ElemType::integer(8), red::I8, MAXLOC_I, MINLOC_I, MAXLOC__I, MINLOC__I},
    {"J", f90test::ElemType::integer(8), red::I8, MAXLOC_J, MINLOC_J, MAXLOC__J, MINLOC__J},
    {"S4", f90test::ElemType::real(4), red::R4, MAXLOC_S4, MINLOC_S4, MAXLOC__S4, MINLOC__S4},
    {"S", f90test::ElemType::real(8), red::R8, MAXLOC_S, MINLOC_S, MAXLOC__S, MINLOC__S},
    {"D", f90test::ElemType::real(16), red::R16, MAXLOC_D, MINLOC_D, MAXLOC__D, MINLOC__D},
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

}  // namespace loc
