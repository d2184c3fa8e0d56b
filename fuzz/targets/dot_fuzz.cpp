// DOT_PRODUCT, every _DOT_ entry point (and through the dispatching ones
// every kernel, by the operands' element lengths), against the reference
// model of kit/dot_model.h.
// needs: _DOT_JJ _DOT_JI4 _DOT_I4J _DOT_I4I4 _DOT_C4J _DOT_C4I4 _DOT_CJ _DOT_CI4 _DOT_JC _DOT_I4C
// needs: _DOT_JC4 _DOT_I4C4 _DOT_JS _DOT_I4S _DOT_JS4 _DOT_I4S4 _DOT_S4J _DOT_S4I4 _DOT_SJ _DOT_SI4
// needs: _DOT_L4L4 _DOT_LL4 _DOT_L4L _DOT_LL _DOT_S4S4 _DOT_S4S _DOT_SS4 _DOT_SS _DOT_C4C4 _DOT_C4C
// needs: _DOT_CC4 _DOT_CC _DOT_C4S4 _DOT_C4S _DOT_CS4 _DOT_CS _DOT_S4C4 _DOT_S4C _DOT_SC4 _DOT_SC
// needs: _DOT_DD _DOT_DS _DOT_SD _DOT_DS4 _DOT_S4D _DOT_DI4 _DOT_I4D _DOT_DJ _DOT_JD _DOT_C4D _DOT_CD
// needs: _DOT_ZD _DOT_DC4 _DOT_DC _DOT_DZ _DOT_ZZ _DOT_ZC4 _DOT_ZC _DOT_CZ _DOT_C4Z _DOT_ZI4 _DOT_I4Z
//
// Beyond the model: the number of terms is A's extent (0 or negative: none,
// no element read); B is read for exactly that many elements (its surplus,
// and everything else, stays unread: the arena opens only the elements),
// whatever B's own extent says; a B without storage is reported (1410) and
// nothing is read;
// nothing is reported, allocated or written but the result slot.
#include <algorithm>
#include <cstring>

#include "dot_model.h"
#include "f90/dotprod.h"
#include "harness.h"
#include "values.h"

using namespace fz;

namespace {

using AD = ArrayDescriptor;

// An entry point of any of the result conventions, called through its own
// type.
struct Fn {
  int32_t (*i32)(const AD*, const AD*) = nullptr;
  uint32_t (*u32)(const AD*, const AD*) = nullptr;
  int64_t (*i64)(const AD*, const AD*) = nullptr;
  uint64_t (*u64)(const AD*, const AD*) = nullptr;
  long double (*x87)(const AD*, const AD*) = nullptr;
  double (*f8)(const AD*, const AD*) = nullptr;
  float (*f4)(const AD*, const AD*) = nullptr;
  Complex8* (*c8)(Complex8*, const AD*, const AD*) = nullptr;
  Complex16* (*c16)(Complex16*, const AD*, const AD*) = nullptr;
  DoubleDouble* (*d16)(DoubleDouble*, const AD*, const AD*) = nullptr;
  Complex32* (*c32)(Complex32*, const AD*, const AD*) = nullptr;
  uint8_t out = 0;           // bytes of the result
  bool complex_slot = false;

  Fn(int32_t (*f)(const AD*, const AD*)) : i32(f), out(4) {}
  Fn(uint32_t (*f)(const AD*, const AD*)) : u32(f), out(4) {}
  Fn(int64_t (*f)(const AD*, const AD*)) : i64(f), out(8) {}
  Fn(uint64_t (*f)(const AD*, const AD*)) : u64(f), out(8) {}
  Fn(long double (*f)(const AD*, const AD*)) : x87(f), out(10) {}
  Fn(double (*f)(const AD*, const AD*)) : f8(f), out(8) {}
  Fn(float (*f)(const AD*, const AD*)) : f4(f), out(4) {}
  Fn(Complex8* (*f)(Complex8*, const AD*, const AD*)) : c8(f), out(8), complex_slot(true) {}
  Fn(Complex16* (*f)(Complex16*, const AD*, const AD*)) : c16(f), out(16), complex_slot(true) {}
  Fn(DoubleDouble* (*f)(DoubleDouble*, const AD*, const AD*)) : d16(f), out(16) {}
  Fn(Complex32* (*f)(Complex32*, const AD*, const AD*)) : c32(f), out(32), complex_slot(true) {}

  // The result's bytes; a slot routine must return the slot and write
  // nothing beyond its result.
  std::vector<uint8_t> call(const char* name, const AD* a, const AD* b) const {
    std::vector<uint8_t> got(out);
    alignas(16) uint8_t slot[48];
    std::memset(slot, 0xA5, sizeof slot);
    void* back = slot;
    auto keep = [&](auto v) { std::memcpy(got.data(), &v, out); };
    if (i32) keep(i32(a, b));
    else if (u32) keep(u32(a, b));
    else if (i64) keep(i64(a, b));
    else if (u64) keep(u64(a, b));
    else if (x87) keep(x87(a, b));
    else if (f8) keep(f8(a, b));
    else if (f4) keep(f4(a, b));
    else if (c8) back = c8(reinterpret_cast<Complex8*>(slot), a, b);
    else if (c16) back = c16(reinterpret_cast<Complex16*>(slot), a, b);
    else if (d16) back = d16(reinterpret_cast<DoubleDouble*>(slot), a, b);
    else back = c32(reinterpret_cast<Complex32*>(slot), a, b);
    if (c8 || c16 || d16 || c32) {
      FZ_CHECK(back == slot, "%s: returned %p, not the slot %p", name, back, static_cast<void*>(slot));
      std::memcpy(got.data(), slot, out);
      for (size_t i = out; i < sizeof slot; ++i) {
        FZ_CHECK(slot[i] == 0xA5, "%s: wrote byte %zu beyond its %u-byte slot", name, i, out);
      }
    }
    return got;
  }
};

struct Entry {
  const char* name;
  DK a, b;       // I4 and L4 stand for 4, 2 and 1 bytes (chosen by int_len)
  Acc acc;
  uint8_t round;
  Fn fn;
};

#define E(name, a, b, acc, round) {#name, DK::a, DK::b, Acc::acc, round, Fn(name)}
const Entry kEntries[] = {
    E(_DOT_JJ, J, J, kInt, 0),
    E(_DOT_JI4, J, I4, kInt, 0),
    E(_DOT_I4J, I4, J, kInt, 0),
    E(_DOT_I4I4, I4, I4, kInt, 0),
    E(_DOT_C4J, C4, J, kStored, 4),
    E(_DOT_C4I4, C4, I4, kX87, 0),
    E(_DOT_CJ, C, J, kStored, 8),
    E(_DOT_CI4, C, I4, kX87, 0),
    E(_DOT_JC, J, C, kStored, 8),
    E(_DOT_I4C, I4, C, kX87, 0),
    E(_DOT_JC4, J, C4, kStored, 4),
    E(_DOT_I4C4, I4, C4, kX87, 0),
    E(_DOT_JS, J, S, kStored, 8),
    E(_DOT_I4S, I4, S, kX87, 0),
    E(_DOT_JS4, J, S4, kStored, 4),
    E(_DOT_I4S4, I4, S4, kX87, 0),
    E(_DOT_S4J, S4, J, kStored, 4),
    E(_DOT_S4I4, S4, I4, kX87, 0),
    E(_DOT_SJ, S, J, kStored, 8),
    E(_DOT_SI4, S, I4, kX87, 0),
    E(_DOT_L4L4, L4, L4, kLogical, 0),
    E(_DOT_LL4, L, L4, kLogical, 0),
    E(_DOT_L4L, L4, L, kLogical, 0),
    E(_DOT_LL, L, L, kLogical, 0),
    E(_DOT_S4S4, S4, S4, kX87, 0),
    E(_DOT_S4S, S4, S, kX87, 0),
    E(_DOT_SS4, S, S4, kX87, 0),
    E(_DOT_SS, S, S, kX87, 0),
    E(_DOT_C4C4, C4, C4, kX87, 0),
    E(_DOT_C4C, C4, C, kStored, 4),
    E(_DOT_CC4, C, C4, kX87, 0),
    E(_DOT_CC, C, C, kX87, 0),
    E(_DOT_C4S4, C4, S4, kX87, 0),
    E(_DOT_C4S, C4, S, kStored, 4),
    E(_DOT_CS4, C, S4, kX87, 0),
    E(_DOT_CS, C, S, kX87, 0),
    E(_DOT_S4C4, S4, C4, kX87, 0),
    E(_DOT_S4C, S4, C, kX87, 0),
    E(_DOT_SC4, S, C4, kStored, 4),
    E(_DOT_SC, S, C, kX87, 0),
    E(_DOT_DD, D, D, kDD, 0),
    E(_DOT_DS, D, S, kDD, 0),
    E(_DOT_SD, S, D, kDD, 0),
    E(_DOT_DS4, D, S4, kDD, 0),
    E(_DOT_S4D, S4, D, kDD, 0),
    E(_DOT_DI4, D, I4, kDD, 0),
    E(_DOT_I4D, I4, D, kDD, 0),
    E(_DOT_DJ, D, J, kDD, 0),
    E(_DOT_JD, J, D, kDD, 0),
    E(_DOT_C4D, C4, D, kDDStored, 4),
    E(_DOT_CD, C, D, kDDStored, 8),
    E(_DOT_ZD, Z, D, kDD, 0),
    E(_DOT_DC4, D, C4, kDDStored, 4),
    E(_DOT_DC, D, C, kDDStored, 8),
    E(_DOT_DZ, D, Z, kDD, 0),
    E(_DOT_ZZ, Z, Z, kDD, 0),
    E(_DOT_ZC4, Z, C4, kDD, 0),
    E(_DOT_ZC, Z, C, kDD, 0),
    E(_DOT_CZ, C, Z, kDDStored, 8),
    E(_DOT_C4Z, C4, Z, kDDStored, 4),
    E(_DOT_ZI4, Z, I4, kDD, 0),
    E(_DOT_I4Z, I4, Z, kDD, 0),
};
#undef E

// I4 and L4 operands take 4, 2 or 1 bytes.
DK narrow(FDP& in, DK k) {
  static const DK kInts[] = {DK::I4, DK::I2, DK::I1}, kLogs[] = {DK::L4, DK::L2, DK::L1};
  if (k == DK::I4) return kInts[in.ConsumeIntegralInRange<int>(0, 2)];
  if (k == DK::L4) return kLogs[in.ConsumeIntegralInRange<int>(0, 2)];
  return k;
}

bool is_logical(DK k) { return k == DK::L1 || k == DK::L2 || k == DK::L4 || k == DK::L; }

void fill(const FArray& x, DK k, Rng& rng, uint32_t mode) {
  const Elem& e = x.elem;
  if (is_logical(k)) {
    // Any bits: the kernels AND and OR them as they stand.
    fill_random(x, rng);
    if (mode == 0) {
      for (int64_t i = 0; i < x.count; ++i) {
        char* p = x.at_linear(i);
        std::memset(p, 0, e.bytes());
        p[0] = static_cast<char>(rng.below(4));
      }
    }
    return;
  }
  const bool cplx = dk_complex(k);
  const bool integer = k == DK::I1 || k == DK::I2 || k == DK::I4 || k == DK::J;
  fill_numeric(x, integer ? Num::kInt : Num::kReal, cplx ? e.bytes() / 2 : e.bytes(), cplx ? 2 : 1,
               rng, mode, mode == 0 ? 8 : 40);
}

// Bit-exact, except that in double-double arithmetic (SSE2 code the
// compiler may commute) a NaN part matches any NaN: which of two NaN
// operands an addition passes on is not fixed.
bool same_result(const DotRule& rule, const std::vector<uint8_t>& got, const std::vector<uint8_t>& want) {
  if (rule.acc != Acc::kDD && rule.acc != Acc::kDDStored) return got == want;
  const size_t part = rule.out == 8 ? 4 : 8;
  for (size_t i = 0; i < got.size(); i += part) {
    if (std::memcmp(&got[i], &want[i], part) == 0) continue;
    bool nan_g, nan_w;
    if (part == 4) {
      float g, w;
      std::memcpy(&g, &got[i], 4);
      std::memcpy(&w, &want[i], 4);
      nan_g = g != g;
      nan_w = w != w;
    } else {
      double g, w;
      std::memcpy(&g, &got[i], 8);
      std::memcpy(&w, &want[i], 8);
      nan_g = g != g;
      nan_w = w != w;
    }
    if (!(nan_g && nan_w)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Entry& ent = kEntries[in.ConsumeIntegralInRange<size_t>(0, std::size(kEntries) - 1)];
  DotRule rule{narrow(in, ent.a), narrow(in, ent.b), ent.acc, ent.round, ent.fn.out, ent.fn.complex_slot};
  // REAL*16 with REAL*8: either order, each read by its element length.
  if ((ent.fn.d16 == _DOT_DS || ent.fn.d16 == _DOT_SD) && in.ConsumeBool()) {
    std::swap(rule.a, rule.b);
  }
  const Elem ea = dk_elem(rule.a), eb = dk_elem(rule.b);
  const int32_t n = in.ConsumeIntegralInRange<int32_t>(0, in.ConsumeBool() ? 4 : 300);
  // B as long as A or longer: it is read for A's extent whatever its own
  // extent says, so its descriptor's extent may say anything; now and then
  // B has no base at all, which is refused when A has elements (1410).
  const int32_t extra = in.ConsumeIntegralInRange<int32_t>(0, 3);
  const int32_t b_extent = n + extra;
  FArray a = place_array(in, ea, vector_shape(n, in.ConsumeIntegralInRange<int32_t>(-3, 3)), kArgLayout);
  FArray b = place_array(in, eb, vector_shape(b_extent, in.ConsumeIntegralInRange<int32_t>(-3, 3)),
                         kArgLayout);
  // An empty A may say so with a negative extent.
  if (n == 0 && in.ConsumeBool()) a.desc->dim[0].extent = in.ConsumeIntegralInRange<int32_t>(INT32_MIN, -1);
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0) b.desc->dim[0].extent = in.ConsumeIntegral<int32_t>();
  const bool b_no_base = in.ConsumeIntegralInRange<int>(0, 15) == 0;
  if (b_no_base) b.desc->base = nullptr;
  // Refused: B without storage while A has elements (B's extent, when
  // positive, already tells the entry check so).
  const bool refused = b.desc->base == nullptr && (n > 0 || b.desc->dim[0].extent > 0);
  const int32_t terms = refused ? 0 : n;
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const uint32_t mode = in.ConsumeIntegralInRange<uint32_t>(0, 1);
  fill(a, rule.a, rng, mode);
  fill(b, rule.b, rng, mode);
  // Only A's n elements and B's first n are open to the routine (none when
  // the call is refused).
  if (!refused) open(a);
  {
    FArray first = b;
    first.count = terms;
    // Close B and reopen its first n elements.
    for (int64_t i = 0; i < b.count; ++i) Arena::poison(b.at_linear(i), eb.bytes());
    open(first);
  }
  trace_descriptor("A", a.desc);
  trace_descriptor("B", b.desc);
  trace("%s, %d terms\n", ent.name, n);

  const std::vector<uint8_t> want = model_dot(rule, a, b, terms);

  arena.snapshot();
  const std::vector<uint8_t> got = ent.fn.call(ent.name, a.desc, b.desc);
  verify_untouched(ent.name, refused ? Reports{ERR_NOT_PRESENT} : Reports{});
  if (!same_result(rule, got, want)) {
    std::string g, w;
    char buf[4];
    for (size_t i = 0; i < got.size(); ++i) {
      std::snprintf(buf, sizeof buf, "%02x", got[i]);
      g += buf;
      std::snprintf(buf, sizeof buf, "%02x", want[i]);
      w += buf;
    }
    fail("%s (A kind %d, B kind %d, %d terms): result %s, expected %s", ent.name,
         static_cast<int>(rule.a), static_cast<int>(rule.b), n, g.c_str(), w.c_str());
  }
  arena.end();
  return 0;
}
