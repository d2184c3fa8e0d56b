// SUM and PRODUCT: every whole-array entry (_SUM0_<t>, _PROD0_<t>), every
// entry along DIM (_SUM_<t>, _PROD_<t>) and their set-up _PRESUM called on
// its own, against kit/sum_model.h.
// needs: _SUM0_I1 _SUM0_I2 _SUM0_I4 _SUM0_J _SUM0_S4 _SUM0_S _SUM0_C4 _SUM0_C _SUM0_D _SUM0_Z
// needs: _PROD0_I1 _PROD0_I2 _PROD0_I4 _PROD0_J _PROD0_S4 _PROD0_S _PROD0_C4 _PROD0_C _PROD0_D _PROD0_Z
// needs: _SUM_I1 _SUM_I2 _SUM_I4 _SUM_J _SUM_S4 _SUM_S _SUM_C4 _SUM_C _SUM_D _SUM_Z
// needs: _PROD_I1 _PROD_I2 _PROD_I4 _PROD_J _PROD_S4 _PROD_S _PROD_C4 _PROD_C _PROD_D _PROD_Z
// needs: _PRESUM
//
// Beyond the model: the whole-array forms read DIM only to report one
// outside 1..rank (1405) and reduce the whole array all the same; the slot
// forms return the slot and write nothing beyond the value. Along DIM a bad
// or absent DIM (with a result to complete) is reported (1405) and nothing is
// written; a result the routine completes has the source's shape without
// DIM, contiguous, allocated when it has bytes (1205 and nothing stored when
// the allocator fails); a caller's result is written through its strides.
#include <cstring>

#include "f90/reductions.h"
#include "harness.h"
#include "sum_model.h"
#include "values.h"

using namespace fz;

namespace {

using AD = ArrayDescriptor;

// A whole-array entry of either form, called through its own type.
struct Whole {
  int32_t (*i32)(AD*, const int32_t*, AD*) = nullptr;
  int64_t (*i64)(AD*, const int32_t*, AD*) = nullptr;
  long double (*x87)(AD*, const int32_t*, AD*) = nullptr;
  Complex8* (*c8)(Complex8*, AD*, const int32_t*, AD*) = nullptr;
  Complex16* (*c16)(Complex16*, AD*, const int32_t*, AD*) = nullptr;
  DoubleDouble* (*d16)(DoubleDouble*, AD*, const int32_t*, AD*) = nullptr;
  Complex32* (*c32)(Complex32*, AD*, const int32_t*, AD*) = nullptr;

  Whole(int32_t (*f)(AD*, const int32_t*, AD*)) : i32(f) {}
  Whole(int64_t (*f)(AD*, const int32_t*, AD*)) : i64(f) {}
  Whole(long double (*f)(AD*, const int32_t*, AD*)) : x87(f) {}
  Whole(Complex8* (*f)(Complex8*, AD*, const int32_t*, AD*)) : c8(f) {}
  Whole(Complex16* (*f)(Complex16*, AD*, const int32_t*, AD*)) : c16(f) {}
  Whole(DoubleDouble* (*f)(DoubleDouble*, AD*, const int32_t*, AD*)) : d16(f) {}
  Whole(Complex32* (*f)(Complex32*, AD*, const int32_t*, AD*)) : c32(f) {}

  std::vector<uint8_t> call(const char* name, size_t n, AD* s, const int32_t* d, AD* m) const {
    std::vector<uint8_t> got(n);
    alignas(16) uint8_t slot[48];
    std::memset(slot, 0xA5, sizeof slot);
    void* back = slot;
    auto keep = [&](auto v) { std::memcpy(got.data(), &v, n); };
    if (i32) keep(i32(s, d, m));
    else if (i64) keep(i64(s, d, m));
    else if (x87) keep(x87(s, d, m));
    else if (c8) back = c8(reinterpret_cast<Complex8*>(slot), s, d, m);
    else if (c16) back = c16(reinterpret_cast<Complex16*>(slot), s, d, m);
    else if (d16) back = d16(reinterpret_cast<DoubleDouble*>(slot), s, d, m);
    else back = c32(reinterpret_cast<Complex32*>(slot), s, d, m);
    if (!i32 && !i64 && !x87) {
      FZ_CHECK(back == slot, "%s: returned %p, not the slot", name, back);
      std::memcpy(got.data(), slot, n);
      for (size_t i = n; i < sizeof slot; ++i) {
        FZ_CHECK(slot[i] == 0xA5, "%s: wrote byte %zu beyond its %zu-byte slot", name, i, n);
      }
    }
    return got;
  }
};

using Along = void (*)(AD*, AD*, const int32_t*, AD*);

struct Entry {
  const char* name;
  SK kind;
  Whole whole[2];  // SUM, PRODUCT
  Along along[2];
};

const Entry kEntries[] = {
    {"I1", SK::I1, {_SUM0_I1, _PROD0_I1}, {_SUM_I1, _PROD_I1}},
    {"I2", SK::I2, {_SUM0_I2, _PROD0_I2}, {_SUM_I2, _PROD_I2}},
    {"I4", SK::I4, {_SUM0_I4, _PROD0_I4}, {_SUM_I4, _PROD_I4}},
    {"J", SK::J, {_SUM0_J, _PROD0_J}, {_SUM_J, _PROD_J}},
    {"S4", SK::S4, {_SUM0_S4, _PROD0_S4}, {_SUM_S4, _PROD_S4}},
    {"S", SK::S, {_SUM0_S, _PROD0_S}, {_SUM_S, _PROD_S}},
    {"C4", SK::C4, {_SUM0_C4, _PROD0_C4}, {_SUM_C4, _PROD_C4}},
    {"C", SK::C, {_SUM0_C, _PROD0_C}, {_SUM_C, _PROD_C}},
    {"D", SK::D, {_SUM0_D, _PROD0_D}, {_SUM_D, _PROD_D}},
    {"Z", SK::Z, {_SUM0_Z, _PROD0_Z}, {_SUM_Z, _PROD_Z}},
};

const uint32_t kWidths[] = {1, 2, 4, 8};

bool double_double(SK k) { return k == SK::D || k == SK::Z; }

// Bit-exact, except that a NaN part of a double-double value matches any
// NaN (which of two NaN operands an SSE2 addition passes on is the
// compiler's to choose).
bool same_value(SK k, const uint8_t* got, const uint8_t* want, size_t n) {
  if (std::memcmp(got, want, n) == 0) return true;
  if (!double_double(k)) return false;
  for (size_t i = 0; i < n; i += 8) {
    double g, w;
    std::memcpy(&g, got + i, 8);
    std::memcpy(&w, want + i, 8);
    if (std::memcmp(&g, &w, 8) != 0 && !(g != g && w != w)) return false;
  }
  return true;
}

std::string hex(const uint8_t* p, size_t n) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02x", p[i]);
    s += buf;
  }
  return s;
}

// _PRESUM on its own: every field against the model (the caller's other
// fields keep what it left there), the result descriptor completed or
// untouched, the inputs only read.
int presum_case(FDP& in) {
  Arena& arena = Arena::instance();
  const Elem e = pick_elem(in, kIntegers | kReals | kComplexes);
  const Shape ss = pick_shape(in, 0, 7, 512);
  const int n = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  // MASK: absent, of the source's shape, a scalar, or of another rank.
  const int mchoice = in.ConsumeIntegralInRange<int>(0, 3);
  FArray mask;
  if (mchoice != 0) {
    Shape ms = mchoice == 1 ? ss : pick_shape(in, 0, 7, 64);
    if (mchoice == 2) ms.rank = 0;
    mask = place_array(in, Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]),
                       ms, kArgLayout);
  }
  const bool has_dim = in.ConsumeIntegralInRange<int>(0, 7) != 0;
  const int32_t dim_value = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<int32_t>()
                                                                      : in.ConsumeIntegralInRange<int32_t>(1, n > 0 ? n : 1);
  const bool array_result = in.ConsumeBool();
  // The result: the source's shape without DIM, or any shape, when supplied;
  // rank n - 1 when the set-up is to complete it.
  Shape rs;
  int64_t rext[F90_MAX_RANK] = {};
  const int d = has_dim && dim_value >= 1 && dim_value <= n ? dim_value - 1 : -1;
  if (d >= 0 && in.ConsumeBool()) {
    rs.rank = n - 1;
    for (int i = 0, j = 0; i < n; ++i) {
      if (i == d) continue;
      rs.extent[j] = ss.extent[i];
      rext[j++] = ss.extent[i];
    }
  } else {
    rs = pick_shape(in, 0, 7, 64);
  }
  Result r;
  if (!array_result || in.ConsumeBool()) {
    r = supplied_result(in, e, rs);
  } else {
    r = unassociated(in, e, n > 0 ? n - 1 : 0);
    for (int i = 0; i < r.rank; ++i) rext[i] = ss.extent[i < d ? i : i + 1];
  }
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  const int32_t* dp = has_dim ? int_arg(dim_value) : nullptr;
  const int32_t* flag = int_arg(array_result ? 1 : 0);
  ArrayDescriptor* m = mchoice != 0 ? mask.desc : nullptr;
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MASK", m);
  trace("_PRESUM %s, DIM %s %d\n", array_result ? "array" : "scalar", has_dim ? "present" : "absent", dim_value);

  SetupFields got, want;
  std::memset(&got, 0x5A, sizeof got);
  std::memset(&want, 0x5A, sizeof want);
  bool res_base_written = false;
  const int32_t report = model_presum(array_result, r.desc, source.desc, dp, m, fail_alloc, want,
                                      res_base_written);
  snapshot(r);
  _PRESUM(flag, r.desc, source.desc, dp, m, &got.src_rank, &got.dim_present, &got.dim_value,
          &got.mask_present, &got.scalar_result, &got.src_base, got.src_extent, got.src_stride,
          &got.res_base, got.res_extent, got.res_stride, &got.mask_base, got.mask_extent,
          got.mask_stride, &got.mask_bytes, &got.mask_base2);
  const Reports reports = report ? Reports{report} : Reports{};
  const bool completes = array_result && !r.supplied && report != ERR_DIM_RANGE;
  const int64_t bytes = e.bytes() * element_count(r.rank, rext);
  if (!completes) {
    verify_untouched("_PRESUM", reports);
  } else if (report == ERR_ALLOC_FAILED) {
    verify_allocation_failure("_PRESUM", r, reports);
  } else {
    ElemsExpect none(e.bytes(), 0, rext);
    verify("_PRESUM", r, completed(r, r.rank, rext, e.units, bytes), bytes, false, none, reports);
  }
  if (res_base_written) want.res_base = static_cast<char*>(r.desc->base);
  const auto* g = reinterpret_cast<const uint8_t*>(&got);
  const auto* w = reinterpret_cast<const uint8_t*>(&want);
  for (size_t i = 0; i < sizeof got; i += 4) {
    uint32_t gv, wv;
    std::memcpy(&gv, g + i, 4);
    std::memcpy(&wv, w + i, 4);
    FZ_CHECK(gv == wv, "_PRESUM: field word %zu is 0x%08x, expected 0x%08x", i / 4, gv, wv);
  }
  arena.end();
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const int form = in.ConsumeIntegralInRange<int>(0, 4);  // whole, along DIM, _PRESUM
  if (form == 4) return presum_case(in);
  const bool along = form >= 2;
  const Entry& ent = kEntries[in.ConsumeIntegralInRange<size_t>(0, std::size(kEntries) - 1)];
  const bool product = in.ConsumeBool();
  const SK k = ent.kind;
  const uint32_t n = sk_bytes(k);
  Elem e = sk_elem(k);
  if (in.ConsumeBool()) e.type_word |= F90_TW_TYPE_FLAG;
  const Shape ss = pick_shape(in, along ? 1 : 0, 7, 512);
  const int rank = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const bool cplx = k == SK::C4 || k == SK::C || k == SK::Z;
  const bool integer = k == SK::I1 || k == SK::I2 || k == SK::I4 || k == SK::J;
  fill_numeric(source, integer ? Num::kInt : Num::kReal, cplx ? n / 2 : n, cplx ? 2 : 1, rng,
               in.ConsumeIntegralInRange<uint32_t>(0, 1), in.ConsumeIntegralInRange<uint32_t>(0, 60));

  // MASK: absent, a scalar, or of the source's shape.
  const int mchoice = in.ConsumeIntegralInRange<int>(0, 2);
  FArray mask = reduction_mask(in, rng, ss, mchoice);
  const FArray* mp = mchoice != 0 ? &mask : nullptr;
  AD* m = mchoice != 0 ? mask.desc : nullptr;

  // DIM: in range, or any value.
  const int dchoice = in.ConsumeIntegralInRange<int>(0, 7);
  const int32_t dim = dchoice == 0 ? in.ConsumeIntegral<int32_t>()
                                   : in.ConsumeIntegralInRange<int32_t>(1, rank > 0 ? rank : 1);
  const bool dim_bad = dim < 1 || dim > rank;
  const char* what = product ? "PRODUCT" : "SUM";

  if (!along) {
    const bool has_dim = in.ConsumeBool();
    const int32_t* d = has_dim ? int_arg(dim) : nullptr;
    open(source);
    if (mp) open(mask);
    trace_descriptor("SOURCE", source.desc);
    trace_descriptor("MASK", m);
    trace("%s0_%s, DIM %s %d\n", what, ent.name, has_dim ? "present" : "absent", dim);
    const std::vector<uint8_t> want = model_sum_whole(k, product, source, mp);
    arena.snapshot();
    const std::vector<uint8_t> got = ent.whole[product].call(ent.name, want.size(), source.desc, d, m);
    verify_untouched(what, has_dim && dim_bad ? Reports{ERR_DIM_RANGE} : Reports{});
    FZ_CHECK(same_value(k, got.data(), want.data(), want.size()), "%s0_%s: %s, expected %s", what,
             ent.name, hex(got.data(), got.size()).c_str(), hex(want.data(), want.size()).c_str());
    arena.end();
    return 0;
  }

  // Along DIM: the result has the source's shape without DIM.
  const bool dim_absent = in.ConsumeIntegralInRange<int>(0, 15) == 0;
  Shape rs;
  rs.rank = rank - 1;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0, j = 0; i < rank && j < rank - 1; ++i) {
    if (!dim_bad && i == dim - 1) continue;
    rext[j] = ss.extent[i];
    rs.extent[j] = ss.extent[i];
    rs.lower[j++] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  Result r = dim_absent ? unassociated(in, e, rs.rank) : any_result(in, e, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  const int32_t* d = dim_absent ? nullptr : int_arg(dim);
  open(source);
  if (mp) open(mask);
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MASK", m);
  trace("%s_%s along DIM %d\n", what, ent.name, dim_absent ? 0 : dim);
  std::vector<uint8_t> want;
  if (!dim_absent && !dim_bad) want = model_sum_dim(k, product, source, mp, dim - 1);
  snapshot(r);
  ent.along[product](r.desc, source.desc, d, m);
  if (ended_on_dim(what, dim_absent || dim_bad)) return 0;
  const int64_t count = element_count(rs.rank, rext);
  const int64_t bytes = count * n;
  if (ended_on_allocation(what, r, fail_alloc, bytes)) return 0;
  // Double-double values: a NaN part of the model matches any NaN the
  // routine stored there.
  ElemsExpect elems(n, rs.rank, rext);
  char* storage = static_cast<char*>(r.desc->base);
  for (int64_t l = 0; l < count; ++l) {
    const uint8_t* w = &want[static_cast<size_t>(l) * n];
    const char* p = r.supplied ? r.arr.at_linear(l) : storage ? storage + l * n : nullptr;
    if (double_double(k) && p != nullptr) {
      uint8_t g[32];
      read_raw(g, p, n);
      if (same_value(k, g, w, n)) {
        elems.set(l, g);
        continue;
      }
    }
    elems.set(l, w);
  }
  verify(what, r, result_words(r, rs.rank, rext, e.units, bytes), bytes, false, elems, {});
  arena.end();
  return 0;
}
