// COMPLEX*32 entry forms: every byte of the result slot written and its
// address returned, by-reference twins equal to the by-value entries even
// when the result slot is the argument itself, the caller's control word
// kept, and the same bits under other control words as under the library's
// (for the functions that take an angle from atan2l, the same value to
// 1e-30 under the Linux default word).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "complex32_oracle.h"
#include "control_word.h"

namespace {

using namespace c32test;

// Arguments that take every branch: zero, real, imaginary, both signs,
// |z|^2 out of range both ways, infinite and NaN parts, low parts.
std::vector<Cx> arguments() {
  return {cx(0, 0),
          cx(-0.0, 0),
          cx(3, -4),
          cx(-3, 4),
          cx(-4, 0),
          cx(0, 2),
          cx(0.5, 0.25),
          {{1.25, 0x1p-60}, {-0.75, 0x1p-58}},
          cx(0x1p1000, -0x1p999),
          cx(0x1p-1000, 0x1p-1001),
          cx(kInf, 1),
          cx(kNaN, 1),
          cx(2, kNaN)};
}

// Each entry as "argument in, 32 bytes out" (16 for ABS, the rest of the
// slot untouched) through the by-value form. `seeded` marks the entries whose
// angle comes from atan2l, which starts from the REAL*8 arctangent computed
// at the caller's x87 precision: their last bits may differ under another
// control word.
struct Entry {
  const char* name;
  std::function<void(const Cx&, Cx* slot)> run;
  bool seeded = false;
};

template <class F>
Entry unary(const char* name, F f, bool seeded = false) {
  return {name, [f, name](const Cx& z, Cx* slot) { EXPECT_EQ(f(slot, z), slot) << name; },
          seeded};
}

std::vector<Entry> entries() {
  const Cx w = {{1.5, 0x1p-55}, {-0.5, 0}};
  return {
      unary("cqmul(z, w)", [w](Cx* r, Cx z) { return _morvex_cqmul(r, z, w); }),
      unary("cqmul(w, z)", [w](Cx* r, Cx z) { return _morvex_cqmul(r, w, z); }),
      unary("cqdiv(z, w)", [w](Cx* r, Cx z) { return _morvex_cqdiv(r, z, w); }),
      unary("cqdiv(w, z)", [w](Cx* r, Cx z) { return _morvex_cqdiv(r, w, z); }),
      unary("cqtoi(z, 5)", [](Cx* r, Cx z) { return _morvex_cqtoi(r, z, 5); }),
      unary("cqtoi(z, -3)", [](Cx* r, Cx z) { return _morvex_cqtoi(r, z, -3); }),
      unary("cpowl(z, w)", [w](Cx* r, Cx z) { return _morvex_cpowl(r, z, w); }, true),
      unary("cpowl(w, z)", [w](Cx* r, Cx z) { return _morvex_cpowl(r, w, z); }, true),
      unary("cpowl(z, 3)", [](Cx* r, Cx z) { return _morvex_cpowl(r, z, cx(3, 0)); }),
      unary("csqrtl", _morvex_csqrtl),
      unary("cexpl", _morvex_cexpl),
      unary("clogl", _morvex_clogl, true),
      unary("csinl", _morvex_csinl),
      unary("ccosl", _morvex_ccosl),
      {"cabsl",
       [](const Cx& z, Cx* slot) {
         DD* r = &slot->re;
         EXPECT_EQ(_morvex_cabsl(r, z), r) << "cabsl";
       }},
  };
}

// The two results agree to 1e-30 relative (normwise), or are the same bits.
bool close(const Cx& a, const Cx& b) {
  if (same_bits(a, b)) return true;
  MpCx mb(b);
  return relative_error(a, mb) <= 1e-30;
}

TEST(Complex32Entries, ResultSlotWrittenWhateverItHeld) {
  for (const Entry& e : entries()) {
    for (const Cx& z : arguments()) {
      Cx a, b;
      std::memset(&a, 0x00, sizeof a);
      std::memset(&b, 0xff, sizeof b);
      e.run(z, &a);
      e.run(z, &b);
      const size_t bytes = std::string(e.name) == "cabsl" ? 16 : 32;
      EXPECT_EQ(std::memcmp(&a, &b, bytes), 0) << e.name << show(z);
    }
  }
}

class Complex32ControlWord : public f90test::ControlWordTest {};

TEST_F(Complex32ControlWord, CallerWordKeptAndResultsIndependentOfIt) {
  for (const Entry& e : entries()) {
    for (const Cx& z : arguments()) {
      Cx lib, other;
      std::memset(&lib, 0, sizeof lib);
      expect_cw_kept([&] { e.run(z, &lib); });
      for (uint16_t cw : {f90test::kCwLinux, f90test::kCwChopSingle}) {
        std::memset(&other, 0, sizeof other);
        expect_cw_kept([&] { e.run(z, &other); }, cw);
        if (!e.seeded) {
          EXPECT_TRUE(same_bits(lib, other)) << e.name << show(z) << " under " << cw;
        } else if (cw == f90test::kCwLinux) {
          EXPECT_TRUE(close(lib, other)) << e.name << show(z) << " under " << cw;
        }
      }
    }
  }
}

// A by-value entry and its by-reference twin.
struct Twin {
  const char* name;
  CxUnary value;
  Cx* (*ref)(Cx*, const Cx*);
};

std::vector<Twin> twins() {
  return {{"csqrtl", _morvex_csqrtl, _morvex_I_csqrtl},
          {"cexpl", _morvex_cexpl, _morvex_I_cexpl},
          {"clogl", _morvex_clogl, _morvex_I_clogl},
          {"csinl", _morvex_csinl, _morvex_I_csinl},
          {"ccosl", _morvex_ccosl, _morvex_I_ccosl}};
}

TEST(Complex32Entries, TwinsMatchEvenWhenTheSlotIsTheArgument) {
  for (const Twin& t : twins()) {
    for (const Cx& z : arguments()) {
      const Cx want = c_call(t.value, z);
      Cx slot;
      std::memset(&slot, 0xcc, sizeof slot);
      EXPECT_EQ(t.ref(&slot, &z), &slot);
      EXPECT_TRUE(same_bits(slot, want)) << t.name << show(z);
      Cx in_place = z;
      EXPECT_EQ(t.ref(&in_place, &in_place), &in_place);
      EXPECT_TRUE(same_bits(in_place, want)) << t.name << " in place " << show(z);
    }
  }
  for (const Cx& z : arguments()) {
    const DD want = call_into<DD>(_morvex_cabsl, z);
    DD slot;
    std::memset(&slot, 0xcc, sizeof slot);
    EXPECT_EQ(_morvex_I_cabsl(&slot, &z), &slot);
    EXPECT_TRUE(same_bits(slot, want)) << "cabsl " << show(z);
    // The REAL*16 slot over the first half of the argument.
    Cx in_place = z;
    DD* re = &in_place.re;
    EXPECT_EQ(_morvex_I_cabsl(re, &in_place), re);
    EXPECT_TRUE(same_bits(in_place.re, want)) << "cabsl in place " << show(z);
    EXPECT_TRUE(same_bits(in_place.im, z.im)) << "cabsl wrote past its slot";
  }
}

}  // namespace
