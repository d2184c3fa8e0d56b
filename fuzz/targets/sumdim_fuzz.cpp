// SUM and PRODUCT along DIM, every typed entry point, against a naive model,
// under a control word the input picks (precision and rounding).
// needs: _SUM_I1 _SUM_I2 _SUM_I4 _SUM_J _SUM_S4 _SUM_S _SUM_C4 _SUM_C _SUM_D _SUM_Z
// needs: _PROD_I1 _PROD_I2 _PROD_I4 _PROD_J _PROD_S4 _PROD_S _PROD_C4 _PROD_C _PROD_D _PROD_Z
//
// Model: every result element starts from the identity (0, or 1 with a zero
// imaginary part) and takes the source elements of its line whose MASK
// element is true, one at a time in increasing DIM index; after each term
// the running value is brought to the element's format: integers wrap in
// their width, REAL*4/8 and each COMPLEX part are rounded from the x87 value
// of the step (a complex product forms a*c - b*d and a*d + c*b from the old
// parts), REAL*16 and COMPLEX*32 steps are the double-double operations of
// libf90elem in the routine's operand order. A MASK of another rank is one
// value for every term; a LOGICAL*8 MASK element is tested on its low-order
// word. A DIM outside 1..rank is reported (1405) and nothing is written.
#include <cstring>
#include <vector>

#include "f90/f90.h"
#include "harness.h"
#include "recording_runtime.h"
#include "values.h"
#include "x87.h"

using namespace fz;

namespace {

using DimFn = void (*)(ArrayDescriptor*, ArrayDescriptor*, const int32_t*, ArrayDescriptor*);

struct Kind {
  int code;
  uint32_t bytes;
  DimFn sum, prod;
};

const Kind kKinds[] = {
    {TYPE_INTEGER, 1, _SUM_I1, _PROD_I1}, {TYPE_INTEGER, 2, _SUM_I2, _PROD_I2},
    {TYPE_INTEGER, 4, _SUM_I4, _PROD_I4}, {TYPE_INTEGER, 8, _SUM_J, _PROD_J},
    {TYPE_REAL, 4, _SUM_S4, _PROD_S4},    {TYPE_REAL, 8, _SUM_S, _PROD_S},
    {TYPE_COMPLEX, 8, _SUM_C4, _PROD_C4}, {TYPE_COMPLEX, 16, _SUM_C, _PROD_C},
    {TYPE_REAL, 16, _SUM_D, _PROD_D},     {TYPE_COMPLEX, 32, _SUM_Z, _PROD_Z},
};

// Precision and rounding: the library's mode, the process default, and the
// other rounding directions and precisions.
const uint16_t kControlWords[] = {0x127f, 0x037f, 0x0e7f, 0x067f, 0x0f7f, 0x0c7f, 0x1a7f};

template <class T>
T get(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class T>
void put(uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
}
// Rounded to T by a store, in the control word's rounding mode.
template <class T>
T rounded(long double x) {
  volatile T v = static_cast<T>(x);
  return v;
}

void identity(const Kind& k, bool prod, uint8_t* r) {
  std::memset(r, 0, 32);
  if (!prod) return;
  if (k.code == TYPE_INTEGER) r[0] = 1;
  else if (k.bytes == 4 || (k.bytes == 8 && k.code == TYPE_COMPLEX)) put(r, 1.0f);
  else put(r, 1.0);
}

// One term s into the running value r.
void step(const Kind& k, bool prod, uint8_t* r, const uint8_t* s) {
  const uint32_t n = k.bytes;
  if (k.code == TYPE_INTEGER) {
    uint64_t a = 0, b = 0;
    std::memcpy(&a, r, n);
    std::memcpy(&b, s, n);
    const uint64_t v = prod ? a * b : a + b;
    std::memcpy(r, &v, n);
  } else if (k.code == TYPE_REAL && n <= 8) {
    const long double a = n == 4 ? get<float>(r) : get<double>(r);
    const long double b = n == 4 ? get<float>(s) : get<double>(s);
    const long double v = prod ? a * b : a + b;
    if (n == 4) put(r, rounded<float>(v));
    else put(r, rounded<double>(v));
  } else if (k.code == TYPE_COMPLEX && n <= 16) {
    const bool single = n == 8;
    auto part = [&](const uint8_t* p, int i) -> long double {
      return single ? get<float>(p + 4 * i) : get<double>(p + 8 * i);
    };
    const long double a = part(r, 0), b = part(r, 1), c = part(s, 0), d = part(s, 1);
    const long double re = prod ? a * c - b * d : a + c;
    const long double im = prod ? a * d + c * b : b + d;
    if (single) {
      put(r, rounded<float>(re));
      put(r + 4, rounded<float>(im));
    } else {
      put(r, rounded<double>(re));
      put(r + 8, rounded<double>(im));
    }
  } else if (n == 16) {
    DoubleDouble v;
    if (prod) _morvex_qmul(&v, get<DoubleDouble>(r), get<DoubleDouble>(s));
    else _morvex_qadd(&v, get<DoubleDouble>(r), get<DoubleDouble>(s));
    put(r, v);
  } else {
    const auto A = get<DoubleDouble>(r), B = get<DoubleDouble>(r + 16);
    const auto C = get<DoubleDouble>(s), D = get<DoubleDouble>(s + 16);
    DoubleDouble re, im;
    if (!prod) {
      _morvex_qadd(&re, A, C);
      _morvex_qadd(&im, B, D);
    } else {
      DoubleDouble t1, t2, t3, t4;
      _morvex_qmul(&t1, B, D);
      _morvex_qmul(&t2, A, C);
      _morvex_qsub(&re, t2, t1);
      _morvex_qmul(&t3, C, B);
      _morvex_qmul(&t4, A, D);
      _morvex_qadd(&im, t4, t3);
    }
    put(r, re);
    put(r + 16, im);
  }
}

bool mask_true(const char* p, uint32_t bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, bytes < 4 ? bytes : 4);
  return v != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Kind& k = kKinds[in.ConsumeIntegralInRange<int>(0, 9)];
  const bool prod = in.ConsumeBool();
  const Elem e = Elem::numeric(k.code, k.bytes);
  const Shape ss = pick_shape(in, 1, 7);
  const int rank = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const bool complex = k.code == TYPE_COMPLEX;
  fill_numeric(source, k.code == TYPE_INTEGER ? Num::kInt : Num::kReal, complex ? k.bytes / 2 : k.bytes,
               complex ? 2 : 1, rng, in.ConsumeIntegralInRange<uint32_t>(0, 1));

  const int32_t dim = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<int32_t>()
                                                               : in.ConsumeIntegralInRange<int32_t>(1, rank);
  const bool dim_bad = dim < 1 || dim > rank;
  const int d = dim_bad ? 0 : dim - 1;

  // MASK: absent, a scalar, or conformable.
  const int mchoice = in.ConsumeIntegralInRange<int>(0, 3);
  FArray mask;
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  if (mchoice != 0) {
    Shape ms = ss;
    if (mchoice == 1) ms.rank = 0;
    mask = place_array(in, Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]),
                       ms, kArgLayout);
    static const uint32_t kChance[] = {0, 40, 128, 220, 256};
    fill_logical(mask, rng, kChance[in.ConsumeIntegralInRange<int>(0, 4)]);
  }
  const uint32_t mbytes = mchoice ? mask.elem.bytes() : 0;

  // The result: one element per line along DIM.
  Shape rs;
  rs.rank = rank - 1;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0, j = 0; i < rank; ++i) {
    if (i == d) continue;
    rext[j] = ss.extent[i];
    rs.extent[j] = ss.extent[i];
    rs.lower[j++] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  Result r = any_result(in, e, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  const uint16_t cw = kControlWords[in.ConsumeIntegralInRange<int>(0, 6)];
  open(source);
  if (mchoice) open(mask);
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MASK", mchoice ? mask.desc : nullptr);
  trace("kind %d/%u %s DIM %d control word %04x\n", k.code, k.bytes, prod ? "PRODUCT" : "SUM", dim, cw);

  // The model, under the call's control word.
  const uint16_t saved = x87::get_cw();
  x87::set_cw(cw);
  int64_t line_count = 1;
  for (int i = 0; i < rs.rank; ++i) line_count *= rext[i];
  std::vector<uint8_t> values(static_cast<size_t>(line_count) * 32);
  if (!dim_bad) {
    for (int64_t l = 0; l < line_count; ++l) identity(k, prod, &values[l * 32]);
    int64_t ext[F90_MAX_RANK], idx[F90_MAX_RANK];
    for (int i = 0; i < rank; ++i) ext[i] = ss.extent[i];
    // Array element order visits each line's terms in increasing DIM index.
    for (int64_t p = 0; p < source.count; ++p) {
      unlinear(p, rank, ext, idx);
      if (mchoice == 1 && !mask_true(mask.base, mbytes)) continue;
      if (mchoice >= 2 && !mask_true(mask.at(idx), mbytes)) continue;
      int64_t l = 0, mul = 1;
      for (int i = 0; i < rank; ++i) {
        if (i == d) continue;
        l += idx[i] * mul;
        mul *= ext[i];
      }
      step(k, prod, &values[l * 32], reinterpret_cast<const uint8_t*>(source.at(idx)));
    }
  }

  const int32_t* dim_arg = int_arg(dim);
  snapshot(r);
  (prod ? k.prod : k.sum)(r.desc, source.desc, dim_arg, mchoice ? mask.desc : nullptr);
  const uint16_t after = x87::get_cw();
  x87::set_cw(saved);
  FZ_CHECK(after == cw, "control word %04x after the call, %04x before", after, cw);

  const char* what = prod ? "PRODUCT along DIM" : "SUM along DIM";
  const std::vector<int32_t> reports =
      dim_bad ? std::vector<int32_t>{ERR_DIM_RANGE} : std::vector<int32_t>{};
  if (dim_bad) {
    verify_untouched(what, reports);
    arena.end();
    return 0;
  }
  const int64_t bytes = line_count * k.bytes;
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure(what, r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }
  ElemsExpect elems(k.bytes, rs.rank, rext);
  for (int64_t l = 0; l < line_count; ++l) elems.set(l, &values[l * 32]);
  const DescExpect dx =
      r.supplied ? DescExpect::unchanged(r.desc_before, rs.rank) : completed(r, rs.rank, rext, e.units, bytes);
  verify(what, r, dx, bytes, false, elems, reports);
  arena.end();
  return 0;
}
