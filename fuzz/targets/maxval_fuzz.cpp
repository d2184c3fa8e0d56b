// MAXVAL and MINVAL, every typed entry point, against a naive model.
// needs: _MAXVAL_J _MAXVAL_I _MAXVAL_S _MAXVAL_D _MAXVAL_I4 _MAXVAL_I2 _MAXVAL_I1 _MAXVAL_S4
// needs: _MINVAL_J _MINVAL_I _MINVAL_S _MINVAL_D _MINVAL_I4 _MINVAL_I2 _MINVAL_I1 _MINVAL_S4
// needs: _MAXVAL0_J _MAXVAL0_I _MAXVAL0_S _MAXVAL0_D _MAXVAL0_I4 _MAXVAL0_I2 _MAXVAL0_I1 _MAXVAL0_S4
// needs: _MINVAL0_J _MINVAL0_I _MINVAL0_S _MINVAL0_D _MINVAL0_I4 _MINVAL0_I2 _MINVAL0_I1 _MINVAL0_S4
//
// Model: each reduction (the whole array, or one line along DIM) considers
// the elements whose MASK element is true and starts from the kind's start
// value (-HUGE for MAXVAL, HUGE for MINVAL; REAL*16 uses the exported
// constant 9218868437227405312.0). Integers take the first considered
// element, then any strictly greater (smaller) one. REAL*4/8 MAXVAL replaces
// the current value unless current >= element (a NaN replaces and is
// replaced), MINVAL when current > element (NaN never). REAL*16 skips
// non-finite elements; the first finite one replaces the start value, later
// ones replace when greater (smaller). A DIM outside 1..rank of an array of
// rank 2 or more is reported (1405) and nothing is written (the scalar forms
// return the start value); a rank-1 array never reads DIM.
#include <cmath>
#include <cstring>

#include "entries.h"
#include "harness.h"
#include "recording_runtime.h"
#include "values.h"

using namespace fz;

namespace {

enum Letter { kJ, kI, kS, kD, kI4, kI2, kI1, kS4, kLetters };

struct Kind {
  Letter letter;
  uint32_t bytes;
  int code;
  bool real;
};

const Kind kKinds[] = {
    {kJ, 8, TYPE_INTEGER, false}, {kI, 8, TYPE_INTEGER, false}, {kS, 8, TYPE_REAL, true},
    {kD, 16, TYPE_REAL, true},    {kI4, 4, TYPE_INTEGER, false}, {kI2, 2, TYPE_INTEGER, false},
    {kI1, 1, TYPE_INTEGER, false}, {kS4, 4, TYPE_REAL, true},
};

// The start value's bytes.
void start_value(const Kind& k, bool max, uint8_t* out) {
  std::memset(out, 0, 16);
  switch (k.letter) {
    case kJ:
    case kI: { const int64_t v = max ? -INT64_MAX : INT64_MAX; std::memcpy(out, &v, 8); break; }
    case kI4: { const int32_t v = max ? -INT32_MAX : INT32_MAX; std::memcpy(out, &v, 4); break; }
    case kI2: { const int16_t v = max ? -32767 : 32767; std::memcpy(out, &v, 2); break; }
    case kI1: { const int8_t v = max ? -127 : 127; std::memcpy(out, &v, 1); break; }
    case kS4: { const uint32_t v = max ? 0xff7fffffu : 0x7f7fffffu; std::memcpy(out, &v, 4); break; }
    case kS: { const uint64_t v = max ? 0xffefffffffffffffull : 0x7fefffffffffffffull; std::memcpy(out, &v, 8); break; }
    default: {
      const uint64_t hi = max ? 0xc3dffc0000000000ull : 0x43dffc0000000000ull;
      const uint64_t lo = max ? 0x8000000000000000ull : 0;
      std::memcpy(out, &hi, 8);
      std::memcpy(out + 8, &lo, 8);
      break;
    }
  }
}

double as_double(const uint8_t* p) { double v; std::memcpy(&v, p, 8); return v; }
float as_float(const uint8_t* p) { float v; std::memcpy(&v, p, 4); return v; }

// Orders two finite, normalized double-double values: -1, 0 or 1.
int compare_dd(const uint8_t* a, const uint8_t* b) {
  const double ah = as_double(a), bh = as_double(b);
  if (ah != bh) return ah > bh ? 1 : -1;
  const double al = as_double(a + 8), bl = as_double(b + 8);
  if (al != bl) return al > bl ? 1 : -1;
  return 0;
}

// One reduction over the considered elements, in order.
struct Reducer {
  const Kind& k;
  bool max;
  uint8_t cur[16];
  bool have = false;
  Reducer(const Kind& kind, bool m) : k(kind), max(m) { start_value(k, max, cur); }

  void take(const uint8_t* e) {
    bool replace;
    if (!k.real) {
      const int64_t x = read_int(reinterpret_cast<const char*>(e), k.bytes);
      const int64_t c = read_int(reinterpret_cast<const char*>(cur), k.bytes);
      replace = !have || (max ? x > c : x < c);
      have = true;
    } else if (k.letter == kD) {
      if (!std::isfinite(as_double(e))) return;
      replace = !have || (max ? compare_dd(e, cur) > 0 : compare_dd(e, cur) < 0);
      have = true;
    } else if (k.letter == kS) {
      const double x = as_double(e), c = as_double(cur);
      replace = max ? !(c >= x) : c > x;
    } else {
      const float x = as_float(e), c = as_float(cur);
      replace = max ? !(c >= x) : c > x;
    }
    if (replace) std::memcpy(cur, e, k.bytes);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Kind& k = kKinds[in.ConsumeIntegralInRange<int>(0, kLetters - 1)];
  const bool max = in.ConsumeBool();
  const bool scalar_form = in.ConsumeBool();
  Elem e = Elem::numeric(k.code, k.bytes);
  if (in.ConsumeBool()) e.type_word |= F90_TW_TYPE_FLAG;
  const Shape ss = pick_shape(in, 1, 7);
  const int rank = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_numeric(source, k.real ? Num::kReal : Num::kInt, k.bytes, 1, rng,
               in.ConsumeIntegralInRange<uint32_t>(0, 1));

  const bool has_dim = in.ConsumeBool();
  const int32_t dim = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<int32_t>()
                                                               : in.ConsumeIntegralInRange<int32_t>(1, rank);
  const bool dim_read = has_dim && rank >= 2;
  const bool dim_bad = dim_read && (dim < 1 || dim > rank);
  const bool along = !scalar_form && dim_read && !dim_bad;  // one value per line
  const int d = along ? dim - 1 : 0;

  // MASK: absent, a scalar, or conformable.
  const int mchoice = in.ConsumeIntegralInRange<int>(0, 3);
  FArray mask = reduction_mask(in, rng, ss, mchoice);
  const uint32_t mbits = mchoice ? mask.elem.bytes() * 8 : 0;

  // The result of the array forms: one element per line, or a scalar.
  Shape rs;
  rs.rank = along ? rank - 1 : 0;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0, j = 0; i < rank && along; ++i) {
    if (i == d) continue;
    rext[j] = ss.extent[i];
    rs.extent[j] = ss.extent[i];
    rs.lower[j++] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  Result r;
  if (!scalar_form) r = any_result(in, e, rs);
  const bool fail_alloc = !scalar_form && !r.supplied && arm_allocation_failure(in);
  const int32_t* dim_arg = has_dim ? int_arg(dim) : nullptr;
  open(source);
  if (mchoice) open(mask);
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MASK", mchoice ? mask.desc : nullptr);
  trace("letter %d %s %s, DIM %s %d\n", k.letter, max ? "MAXVAL" : "MINVAL", scalar_form ? "scalar" : "array",
        has_dim ? "present" : "absent", dim);
  const AD* m = mchoice ? mask.desc : nullptr;
  if (tracing() && mchoice) trace("mask byte 0: %02x, source byte 0: %02x\n", static_cast<uint8_t>(mask.base[0]), static_cast<uint8_t>(source.base[0]));

  // The model: the values of every line (one line for a whole reduction).
  const bool scalar_false = mchoice == 1 && !read_logical(mask.base, mbits);
  int64_t line_count = 1;
  for (int i = 0; i < rs.rank; ++i) line_count *= rext[i];
  std::vector<uint8_t> values(static_cast<size_t>(line_count) * 16);
  {
    std::vector<Reducer> red;
    for (int64_t l = 0; l < line_count; ++l) red.emplace_back(k, max);
    int64_t ext[F90_MAX_RANK], idx[F90_MAX_RANK];
    for (int i = 0; i < rank; ++i) ext[i] = ss.extent[i];
    if (!scalar_false) {
      for (int64_t p = 0; p < source.count; ++p) {
        unlinear(p, rank, ext, idx);
        if (mchoice >= 2 && !read_logical(mask.at(idx), mbits)) continue;
        int64_t l = 0, mul = 1;
        for (int i = 0; i < rank && along; ++i) {
          if (i == d) continue;
          l += idx[i] * mul;
          mul *= ext[i];
        }
        red[l].take(reinterpret_cast<const uint8_t*>(source.at(idx)));
      }
    }
    for (int64_t l = 0; l < line_count; ++l) std::memcpy(&values[l * 16], red[l].cur, 16);
  }
  uint8_t start[16];
  start_value(k, max, start);
  const std::vector<int32_t> reports = dim_bad ? std::vector<int32_t>{ERR_DIM_RANGE} : std::vector<int32_t>{};

  if (scalar_form) {
    arena.snapshot();
    uint8_t got[16] = {};
    alignas(8) uint8_t slot[16];
    std::memset(slot, 0x5A, 16);
    switch (k.letter) {
      case kJ: { const int64_t v = max ? e_maxval0_j(source.desc, dim_arg, m) : e_minval0_j(source.desc, dim_arg, m); std::memcpy(got, &v, 8); break; }
      case kI: { const int64_t v = max ? e_maxval0_i(source.desc, dim_arg, m) : e_minval0_i(source.desc, dim_arg, m); std::memcpy(got, &v, 8); break; }
      case kS: { const double v = max ? e_maxval0_s(source.desc, dim_arg, m) : e_minval0_s(source.desc, dim_arg, m); std::memcpy(got, &v, 8); break; }
      case kS4: { const float v = max ? e_maxval0_s4(source.desc, dim_arg, m) : e_minval0_s4(source.desc, dim_arg, m); std::memcpy(got, &v, 4); break; }
      case kI4: { const int32_t v = max ? e_maxval0_i4(source.desc, dim_arg, m) : e_minval0_i4(source.desc, dim_arg, m); std::memcpy(got, &v, 4); break; }
      case kI2: { const int32_t v = max ? e_maxval0_i2(source.desc, dim_arg, m) : e_minval0_i2(source.desc, dim_arg, m); std::memcpy(got, &v, 4); break; }
      case kI1: { const int32_t v = max ? e_maxval0_i1(source.desc, dim_arg, m) : e_minval0_i1(source.desc, dim_arg, m); std::memcpy(got, &v, 4); break; }
      default: {
        void* back = max ? e_maxval0_d(slot, source.desc, dim_arg, m) : e_minval0_d(slot, source.desc, dim_arg, m);
        FZ_CHECK(back == slot, "MAXVAL0_D: returned %p, not the slot", back);
        std::memcpy(got, slot, 16);
        break;
      }
    }
    arena.check_unchanged();
    check_reports("MAXVAL/MINVAL scalar", reports);
    FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "MAXVAL/MINVAL scalar form allocated");
    uint8_t want[16] = {};
    const uint8_t* v = dim_bad ? start : values.data();
    if (k.letter == kI1 || k.letter == kI2) {
      const int32_t x = static_cast<int32_t>(read_int(reinterpret_cast<const char*>(v), k.bytes));
      std::memcpy(want, &x, 4);
    } else {
      std::memcpy(want, v, k.bytes);
    }
    const size_t width = (k.letter == kI1 || k.letter == kI2) ? 4 : k.bytes;
    for (size_t i = 0; i < width; ++i) {
      FZ_CHECK(got[i] == want[i], "%s scalar (letter %d): byte %zu is %02x, expected %02x",
               max ? "MAXVAL" : "MINVAL", k.letter, i, got[i], want[i]);
    }
    arena.end();
    return 0;
  }

  snapshot(r);
  switch (k.letter) {
    case kJ: if (max) e_maxval_j(r.desc, source.desc, dim_arg, m); else e_minval_j(r.desc, source.desc, dim_arg, m); break;
    case kI: if (max) e_maxval_i(r.desc, source.desc, dim_arg, m); else e_minval_i(r.desc, source.desc, dim_arg, m); break;
    case kS: if (max) e_maxval_s(r.desc, source.desc, dim_arg, m); else e_minval_s(r.desc, source.desc, dim_arg, m); break;
    case kD: if (max) e_maxval_d(r.desc, source.desc, dim_arg, m); else e_minval_d(r.desc, source.desc, dim_arg, m); break;
    case kI4: if (max) e_maxval_i4(r.desc, source.desc, dim_arg, m); else e_minval_i4(r.desc, source.desc, dim_arg, m); break;
    case kI2: if (max) e_maxval_i2(r.desc, source.desc, dim_arg, m); else e_minval_i2(r.desc, source.desc, dim_arg, m); break;
    case kI1: if (max) e_maxval_i1(r.desc, source.desc, dim_arg, m); else e_minval_i1(r.desc, source.desc, dim_arg, m); break;
    default: if (max) e_maxval_s4(r.desc, source.desc, dim_arg, m); else e_minval_s4(r.desc, source.desc, dim_arg, m); break;
  }
  const char* what = max ? "MAXVAL" : "MINVAL";
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
  for (int64_t l = 0; l < line_count; ++l) elems.set(l, &values[l * 16]);
  DescExpect dx;
  if (r.supplied) {
    dx = DescExpect::unchanged(r.desc_before, rs.rank);
  } else {
    dx = completed(r, rs.rank, rext, e.units, bytes);
  }
  verify(what, r, dx, bytes, false, elems, reports);
  arena.end();
  return 0;
}
