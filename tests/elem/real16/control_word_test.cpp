// The REAL*16 routines give the same bits whatever x87 control word the
// caller runs under (the double-double steps are SSE2 double operations), hand
// the caller's control word back unchanged, and write every byte of their
// result slot (each run fills the slots with another byte pattern first).
#include "control_word.h"

#include <functional>
#include <vector>

#include "oracle.h"

namespace {

using namespace r16test;

// Every entry, reduced to "operands in, result bits out": the result slot of
// a REAL*16 result is `out` itself; integer results fill all four words.
struct Entry {
  const char* name;
  std::function<void(DD a, DD b, uint32_t out[4])> run;
};

template <class F>
Entry dd_binary(const char* name, F f) {
  return {name, [f](DD a, DD b, uint32_t out[4]) {
            DD* slot = reinterpret_cast<DD*>(out);
            EXPECT_EQ(f(slot, a, b), slot);
          }};
}

template <class F>
Entry dd_unary(const char* name, F f) {
  return {name, [f](DD a, DD, uint32_t out[4]) {
            DD* slot = reinterpret_cast<DD*>(out);
            EXPECT_EQ(f(slot, a), slot);
          }};
}

int64_t int64_of(DD a) { return static_cast<int64_t>(bits(a.hi) >> (bits(a.lo) & 63)); }
void put64(uint32_t* out, uint64_t v) {
  const uint64_t words[2] = {v, 0};
  std::memcpy(out, words, 16);
}
void put32(uint32_t* out, int32_t v) { put64(out, static_cast<uint32_t>(v)); }

std::vector<Entry> entries() {
  return {
      dd_binary("qadd", _morvex_qadd),
      dd_binary("qsub", _morvex_qsub),
      dd_binary("qmul", _morvex_qmul),
      dd_binary("qdiv", _morvex_qdiv),
      {"qaddd", [](DD a, DD b, uint32_t* o) { _morvex_qaddd(reinterpret_cast<DD*>(o), a, b.hi); }},
      {"qsubd", [](DD a, DD b, uint32_t* o) { _morvex_qsubd(reinterpret_cast<DD*>(o), a, b.hi); }},
      {"dsubq", [](DD a, DD b, uint32_t* o) { _morvex_dsubq(reinterpret_cast<DD*>(o), a.hi, b); }},
      {"qmuld", [](DD a, DD b, uint32_t* o) { _morvex_qmuld(reinterpret_cast<DD*>(o), a, b.hi); }},
      {"qdivd", [](DD a, DD b, uint32_t* o) { _morvex_qdivd(reinterpret_cast<DD*>(o), a, b.hi); }},
      {"ddivq", [](DD a, DD b, uint32_t* o) { _morvex_ddivq(reinterpret_cast<DD*>(o), a.hi, b); }},
      {"qprod",
       [](DD a, DD b, uint32_t* o) { _morvex_qprod(reinterpret_cast<DD*>(o), a.hi, b.hi); }},
      {"qneg", [](DD a, DD, uint32_t* o) { _morvex_qneg(reinterpret_cast<DD*>(o), a); }},
      {"qmuli",
       [](DD a, DD b, uint32_t* o) {
         _morvex_qmuli(reinterpret_cast<DD*>(o), a, static_cast<int32_t>(bits(b.lo)));
       }},
      {"qcmp", [](DD a, DD b, uint32_t* o) { put32(o, _morvex_qcmp(a, b)); }},
      {"qcompare",
       [](DD a, DD b, uint32_t* o) { put32(o, _morvex_qcompare(a, b)); }},
      // Conversions and INTEGER*8 forms; the integers come from the operands' bits.
      {"ll2q", [](DD a, DD, uint32_t* o) { _morvex_ll2q(reinterpret_cast<DD*>(o), int64_of(a)); }},
      {"ull2q", [](DD a, DD, uint32_t* o) { _morvex_ull2q(reinterpret_cast<DD*>(o), bits(a.hi)); }},
      {"q2ll", [](DD a, DD, uint32_t* o) { put64(o, static_cast<uint64_t>(_morvex_q2ll(a))); }},
      {"q2ull", [](DD a, DD, uint32_t* o) { put64(o, _morvex_q2ull(a)); }},
      {"qaddk",
       [](DD a, DD b, uint32_t* o) { _morvex_qaddk(reinterpret_cast<DD*>(o), a, int64_of(b)); }},
      {"qsubk",
       [](DD a, DD b, uint32_t* o) { _morvex_qsubk(reinterpret_cast<DD*>(o), a, int64_of(b)); }},
      {"ksubq",
       [](DD a, DD b, uint32_t* o) { _morvex_ksubq(reinterpret_cast<DD*>(o), int64_of(b), a); }},
      {"qmulk",
       [](DD a, DD b, uint32_t* o) { _morvex_qmulk(reinterpret_cast<DD*>(o), a, int64_of(b)); }},
      {"qdivk",
       [](DD a, DD b, uint32_t* o) { _morvex_qdivk(reinterpret_cast<DD*>(o), a, int64_of(b)); }},
      {"kdivq",
       [](DD a, DD b, uint32_t* o) { _morvex_kdivq(reinterpret_cast<DD*>(o), int64_of(b), a); }},
      // Rounding.
      dd_unary("qint", _morvex_qint),
      dd_unary("qnint", _morvex_qnint),
      dd_unary("floorl", _morvex_floorl),
      dd_unary("ceill", _morvex_ceill),
      {"ifloorl", [](DD a, DD, uint32_t* o) { put32(o, _morvex_ifloorl(a)); }},
      {"iceill", [](DD a, DD, uint32_t* o) { put32(o, _morvex_iceill(a)); }},
      {"iqnint", [](DD a, DD, uint32_t* o) { put32(o, _morvex_iqnint(a)); }},
      {"iiqnnt", [](DD a, DD, uint32_t* o) { put32(o, _morvex_iiqnnt(a)); }},
      {"kiqnnt", [](DD a, DD, uint32_t* o) { put64(o, static_cast<uint64_t>(_morvex_kiqnnt(a))); }},
      // MOD, DIM, ABS, SIGN, decomposition.
      dd_binary("fmodl", _morvex_fmodl),
      dd_binary("fdiml", _morvex_fdiml),
      dd_binary("copysignl", _morvex_copysignl),
      dd_unary("fabsl", _morvex_fabsl),
      {"frexpl",
       [](DD a, DD, uint32_t* o) {
         int32_t e;
         _morvex_frexpl(reinterpret_cast<DD*>(o), a, &e);
         o[3] ^= static_cast<uint32_t>(e);  // the exponent folded into the bits
       }},
      {"ldexpl",
       [](DD a, DD b, uint32_t* o) {
         _morvex_ldexpl(reinterpret_cast<DD*>(o), a,
                        static_cast<int32_t>(bits(b.hi) % 4400) - 2200);
       }},
  };
}

std::vector<std::pair<DD, DD>> operands() {
  std::vector<std::pair<DD, DD>> ops = {
      {{1, p2(-60)}, {3, -p2(-56)}},
      {{p2(1000), 1e280}, {p2(30), 0}},        // scaling guard, overflow
      {{1.5e308, 0}, {-1.5e308, 0}},           // beyond range
      {{p2(-1000), p2(-1060)}, {p2(-60), 0}},  // near the subnormal range
      {{kInf, 0}, {2, 0}},
      {{kNaN, 0}, {0, 0}},
      {{0, 0}, {-0.0, 0}},
  };
  Rng rng(0x5eed0020);
  for (int i = 0; i < 2000; ++i) ops.push_back({rng.dd(-500, 500), rng.dd(-500, 500)});
  // Values the rounding and integer conversions keep in range.
  for (int i = 0; i < 1000; ++i) ops.push_back({rng.dd(-3, 40), rng.dd(-3, 40)});
  return ops;
}

std::vector<uint32_t> run_all(uint16_t cw, unsigned char fill) {
  std::vector<uint32_t> out;
  const auto ops = operands();  // built under the library's mode
  for (const Entry& e : entries()) {
    for (const auto& [a, b] : ops) {
      uint32_t r[4];
      std::memset(r, fill, sizeof r);
      const uint16_t after = f90test::under_cw(cw, [&] {
        e.run(a, b, r);
        return f90test::get_cw();
      });
      EXPECT_EQ(after, cw) << e.name << " changed the control word";
      out.insert(out.end(), r, r + 4);
    }
  }
  return out;
}

class Real16ControlWord : public f90test::ControlWordTest {};

TEST_F(Real16ControlWord, SameBitsUnderEveryControlWordAndWholeSlotsWritten) {
  const std::vector<uint32_t> expected = run_all(f90test::kCwLibrary, 0xcc);
  EXPECT_TRUE(run_all(f90test::kCwLinux, 0x33) == expected) << "results differ under 0x037f";
  EXPECT_TRUE(run_all(f90test::kCwChopSingle, 0x5a) == expected) << "results differ under 0x0c7f";
}

}  // namespace
