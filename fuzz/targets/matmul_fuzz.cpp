// MATMUL, every _MATMUL_ driver (and through them _premult and the kernels
// they choose), with the transposition flags, caller-supplied and
// unallocated results and sections of any steps, against
// kit/matmul_model.h.
// needs: _MATMUL_S4S4 _MATMUL_SS _MATMUL_DD _MATMUL_C4C4 _MATMUL_CC _MATMUL_ZZ _MATMUL_S4S _MATMUL_SS4
// needs: _MATMUL_DS _MATMUL_DS4 _MATMUL_S4D _MATMUL_C4S4 _MATMUL_S4C4 _MATMUL_C4S _MATMUL_SC4 _MATMUL_CS4
// needs: _MATMUL_S4C _MATMUL_CS _MATMUL_SC _MATMUL_CD _MATMUL_DC _MATMUL_ZS4 _MATMUL_S4Z _MATMUL_ZS
// needs: _MATMUL_SZ _MATMUL_ZD _MATMUL_DZ _MATMUL_C4C _MATMUL_CC4 _MATMUL_ZC4 _MATMUL_I4I4 _MATMUL_L4L4
// needs: _MATMUL_JJ _MATMUL_JI4 _MATMUL_I4J _MATMUL_LL _MATMUL_LL4 _MATMUL_L4L _MATMUL_JS4 _MATMUL_S4J
// needs: _MATMUL_JS _MATMUL_SJ _MATMUL_JD _MATMUL_DJ _MATMUL_I4S4 _MATMUL_S4I4 _MATMUL_I4S _MATMUL_SI4
// needs: _MATMUL_I4D _MATMUL_DI4 _MATMUL_JC4 _MATMUL_C4J _MATMUL_JC _MATMUL_CJ _MATMUL_I4C4 _MATMUL_C4I4
// needs: _MATMUL_I4C _MATMUL_CI4
//
// Beyond the model: a rank pair other than (1,2), (2,1), (2,2) after the
// flags is reported (1406) and a caller's result of another shape (1407),
// both with nothing written; a result the routine completes is rank 1 or 2
// of the product's shape, contiguous, allocated when it has bytes (1205 and
// nothing stored when the allocator fails); with an inner extent of 0 every
// element is zero.
#include <cstring>

#include "f90/matmul.h"
#include "harness.h"
#include "matmul_model.h"
#include "values.h"

using namespace fz;

namespace {

struct Entry {
  const char* name;
  F90MatmulDriver* fn;
  DK a, b, c;  // I4 and L4 operands take 4, 2 or 1 bytes; a result of I4 or L4: the wider
};

#define E(name, a, b, c) {#name, name, DK::a, DK::b, DK::c}
const Entry kEntries[] = {
    E(_MATMUL_S4S4, S4, S4, S4), E(_MATMUL_SS, S, S, S),       E(_MATMUL_DD, D, D, D),
    E(_MATMUL_C4C4, C4, C4, C4), E(_MATMUL_CC, C, C, C),       E(_MATMUL_ZZ, Z, Z, Z),
    E(_MATMUL_S4S, S4, S, S),    E(_MATMUL_SS4, S, S4, S),     E(_MATMUL_DS, D, S, D),
    E(_MATMUL_DS4, D, S4, D),    E(_MATMUL_S4D, S4, D, D),     E(_MATMUL_C4S4, C4, S4, C4),
    E(_MATMUL_S4C4, S4, C4, C4), E(_MATMUL_C4S, C4, S, C),     E(_MATMUL_SC4, S, C4, C),
    E(_MATMUL_CS4, C, S4, C),    E(_MATMUL_S4C, S4, C, C),     E(_MATMUL_CS, C, S, C),
    E(_MATMUL_SC, S, C, C),      E(_MATMUL_CD, C, D, Z),       E(_MATMUL_DC, D, C, Z),
    E(_MATMUL_ZS4, Z, S4, Z),    E(_MATMUL_S4Z, S4, Z, Z),     E(_MATMUL_ZS, Z, S, Z),
    E(_MATMUL_SZ, S, Z, Z),      E(_MATMUL_ZD, Z, D, Z),       E(_MATMUL_DZ, D, Z, Z),
    E(_MATMUL_C4C, C4, C, C),    E(_MATMUL_CC4, C, C4, C),     E(_MATMUL_ZC4, Z, C4, Z),
    E(_MATMUL_I4I4, I4, I4, I4), E(_MATMUL_L4L4, L4, L4, L4),  E(_MATMUL_JJ, J, J, J),
    E(_MATMUL_JI4, J, I4, J),    E(_MATMUL_I4J, I4, J, J),     E(_MATMUL_LL, L, L, L),
    E(_MATMUL_LL4, L, L4, L),    E(_MATMUL_L4L, L4, L, L),     E(_MATMUL_JS4, J, S4, S4),
    E(_MATMUL_S4J, S4, J, S4),   E(_MATMUL_JS, J, S, S),       E(_MATMUL_SJ, S, J, S),
    E(_MATMUL_JD, J, D, D),      E(_MATMUL_DJ, D, J, D),       E(_MATMUL_I4S4, I4, S4, S4),
    E(_MATMUL_S4I4, S4, I4, S4), E(_MATMUL_I4S, I4, S, S),     E(_MATMUL_SI4, S, I4, S),
    E(_MATMUL_I4D, I4, D, D),    E(_MATMUL_DI4, D, I4, D),     E(_MATMUL_JC4, J, C4, C4),
    E(_MATMUL_C4J, C4, J, C4),   E(_MATMUL_JC, J, C, C),       E(_MATMUL_CJ, C, J, C),
    E(_MATMUL_I4C4, I4, C4, C4), E(_MATMUL_C4I4, C4, I4, C4),  E(_MATMUL_I4C, I4, C, C),
    E(_MATMUL_CI4, C, I4, C),
};
#undef E

bool is_logical(DK k) { return k == DK::L1 || k == DK::L2 || k == DK::L4 || k == DK::L; }
bool is_int(DK k) { return k == DK::I1 || k == DK::I2 || k == DK::I4 || k == DK::J; }

DK narrow(FDP& in, DK k) {
  static const DK kInts[] = {DK::I4, DK::I2, DK::I1}, kLogs[] = {DK::L4, DK::L2, DK::L1};
  if (k == DK::I4) return kInts[in.ConsumeIntegralInRange<int>(0, 2)];
  if (k == DK::L4) return kLogs[in.ConsumeIntegralInRange<int>(0, 2)];
  return k;
}

// An extent: small mostly, now and then large enough for the kernels'
// column order.
int32_t pick_extent(FDP& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: return 0;
    case 1: return in.ConsumeIntegralInRange<int32_t>(20, 45);
    default: return in.ConsumeIntegralInRange<int32_t>(1, 5);
  }
}

void fill(const FArray& x, DK k, Rng& rng, bool exact_small) {
  if (is_logical(k)) {
    fill_random(x, rng);
    for (int64_t i = 0; i < x.count; ++i) {
      if (rng.below(2) == 0) std::memset(x.at_linear(i), 0, x.elem.bytes());
    }
    return;
  }
  const bool cplx = dk_complex(k);
  const uint32_t n = x.elem.bytes();
  if (is_int(k)) {
    fill_numeric(x, Num::kInt, n, 1, rng, exact_small ? 0 : 1, exact_small ? 0 : 60);
  } else if (k == DK::D || k == DK::Z) {
    // Double-double values (v, +0).
    fill_numeric(x, Num::kReal, 8, cplx ? 4 : 2, rng, 0, 0);
    for (int64_t i = 0; i < x.count; ++i) {
      char* p = x.at_linear(i);
      const double zero = 0.0;
      std::memcpy(p + 8, &zero, 8);
      if (cplx) std::memcpy(p + 24, &zero, 8);
    }
  } else {
    fill_numeric(x, Num::kReal, cplx ? n / 2 : n, cplx ? 2 : 1, rng, 0, 0);
  }
}

// An operand as compiled code describes it: rank 1 or 2 (now and then 0 or
// 3), of the given shape as stored.
FArray operand(FDP& in, DK k, int rank, int32_t e1, int32_t e2) {
  Shape s;
  s.rank = rank;
  const int32_t ext[3] = {e1, e2, 1};
  for (int i = 0; i < rank; ++i) {
    s.extent[i] = ext[i];
    s.lower[i] = in.ConsumeIntegralInRange<int32_t>(-3, 3);
  }
  return place_array(in, dk_elem(k), s, in.ConsumeBool() ? kArgLayout : kContiguous);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Entry& ent = kEntries[in.ConsumeIntegralInRange<size_t>(0, std::size(kEntries) - 1)];
  const DK ka = narrow(in, ent.a), kb = narrow(in, ent.b);
  DK kc = ent.c;
  if (kc == DK::I4 || kc == DK::L4) kc = dk_size(ka) >= dk_size(kb) ? ka : kb;
  const bool logical_b_first = is_logical(kc) && dk_size(kb) > dk_size(ka);

  // The product as used: (2,2), (2,1) or (1,2) after the flags, now and then
  // a pair that is refused.
  const int32_t flags_value = in.ConsumeIntegralInRange<int>(0, 3) == 0
                                  ? static_cast<int32_t>(in.ConsumeIntegral<uint32_t>())
                                  : in.ConsumeIntegralInRange<int32_t>(0, 3);
  const bool ta = flags_value & MATMUL_TRANSPOSE_A, tb = flags_value & MATMUL_TRANSPOSE_B;
  const bool hostile_rank = in.ConsumeIntegralInRange<int>(0, 15) == 0;
  int ra = in.ConsumeIntegralInRange<int>(1, 2), rb = in.ConsumeIntegralInRange<int>(1, 2);
  if (hostile_rank) {
    ra = in.ConsumeIntegralInRange<int>(0, 3);
    rb = in.ConsumeIntegralInRange<int>(0, 3);
  }
  // Ranks as used: a flag makes its operand a matrix of its first two
  // dimensions whatever its rank; a rank-0 operand has none.
  const int ua = ta && ra >= 1 ? 2 : ra, ub = tb && rb >= 1 ? 2 : rb;
  const bool rank_ok = ra >= 1 && rb >= 1 && ua <= 2 && ub <= 2 && ua + ub >= 3;
  int32_t m = pick_extent(in), n = pick_extent(in), kk = pick_extent(in);
  // A transposed rank-1 operand is a row: one row of A, or B's one row.
  if (ta && ra == 1) m = 1;
  if (tb && rb == 1) kk = 1;
  // Keep each operand within the arena.
  while (int64_t{m} * kk > 1800) m /= 2;
  while (int64_t{kk} * n > 1800) n /= 2;
  const int32_t ka_ext = in.ConsumeIntegralInRange<int>(0, 15) != 0 ? kk : kk + 1;  // A's inner extent

  // Shapes as stored, from the shapes as used (rows x columns).
  int32_t a1, a2 = 1, b1, b2 = 1;
  if (ua == 1) {
    a1 = ka_ext;
  } else if (ta) {
    a1 = ka_ext; a2 = m;  // stored transposed; a rank-1 one keeps a1
  } else {
    a1 = m; a2 = ka_ext;
  }
  if (ub == 1) {
    b1 = kk;
  } else if (tb) {
    b1 = n; b2 = kk;
  } else {
    b1 = kk; b2 = n;
  }
  FArray a = operand(in, ka, ra, a1, a2);
  FArray b = operand(in, kb, rb, b1, b2);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const bool exact_small = !(is_int(ka) && is_int(kb));
  fill(a, ka, rng, exact_small);
  fill(b, kb, rng, exact_small);

  // The set-up's view: each operand's extents as used, then the pair's
  // conformance.
  auto used = [](const FArray& x, int rank, bool t, int64_t& e1, int64_t& e2) {
    e1 = rank >= 1 ? x.shape.extent[0] : 0;
    e2 = rank >= 2 ? x.shape.extent[1] : 1;
    if (t) std::swap(e1, e2);
  };
  int64_t ae1, ae2, be1, be2;
  used(a, ra, ta, ae1, ae2);
  used(b, rb, tb, be1, be2);
  const bool conform = ua == 1 ? ae1 == be1 : ae2 == be1;
  // The result: rank 2 for (2,2), else 1.
  const int rr = ua == 2 && ub == 2 ? 2 : 1;
  const int64_t pm = ua == 1 ? 1 : ae1, pn = ub == 1 ? 1 : be2, pk = ua == 1 ? ae1 : ae2;
  const int64_t rm = ua == 1 ? pn : pm, rn = rr == 2 ? pn : 1;
  Shape rs;
  rs.rank = rr;
  rs.extent[0] = static_cast<int32_t>(rm);
  rs.extent[1] = static_cast<int32_t>(rn);
  const bool wrong_result = in.ConsumeIntegralInRange<int>(0, 15) == 0;
  if (wrong_result) rs.extent[in.ConsumeIntegralInRange<int>(0, rr - 1)] += 1;
  rs.lower[0] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  rs.lower[1] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  const Elem ec = dk_elem(kc);
  // A wrong shape only for a caller's result: one the routine completes
  // always has the product's.
  Result r = wrong_result ? supplied_result(in, ec, rs) : any_result(in, ec, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  const int32_t* flags = flags_value == 0 && in.ConsumeBool() ? nullptr : int_arg(flags_value);
  open(a);
  open(b);
  trace_descriptor("A", a.desc);
  trace_descriptor("B", b.desc);
  trace("%s, flags %d, m %lld n %lld k %lld\n", ent.name, flags_value, static_cast<long long>(pm),
        static_cast<long long>(pn), static_cast<long long>(pk));

  snapshot(r);
  ent.fn(r.desc, a.desc, b.desc, flags);

  if (!rank_ok) {
    verify_untouched(ent.name, {ERR_MATMUL_RANK});
    arena.end();
    return 0;
  }
  const int64_t bytes = rm * rn * ec.bytes();
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure(ent.name, r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }
  if (!conform || wrong_result) {
    if (r.supplied) {
      verify_untouched(ent.name, {ERR_MATMUL_SHAPE});
    } else {
      // Completed and allocated before the shapes are compared: the block
      // is the caller's, nothing is stored in it.
      arena.mark_output(r.desc);
      arena.check_unchanged();
      check_reports(ent.name, {ERR_MATMUL_SHAPE});
      check_allocation(ent.name, bytes, false);
    }
    arena.end();
    return 0;
  }

  // Elements as the product uses them: (row, column) of the operand as
  // used, stored transposed under its flag; a rank-1 operand by its one
  // subscript. In (1,2) A is the row: its term l is its element l.
  auto stored = [](const FArray& x, bool t, int64_t r, int64_t c) -> const char* {
    int64_t idx[3] = {t ? c : r, t ? r : c, 0};
    if (x.rank() == 1) idx[0] = t ? c : r;
    return x.at(idx);
  };
  const ElementAt at_a = [&](int64_t i, int64_t l) { return ua == 1 ? stored(a, false, l, 0) : stored(a, ta, i, l); };
  const ElementAt at_b = [&](int64_t l, int64_t j) { return stored(b, tb, l, j); };
  const std::vector<uint8_t> want =
      model_matmul({ka, kb, kc, logical_b_first}, at_a, at_b, pm, pn, pk);
  int64_t rext[2] = {rm, rn};
  ElemsExpect elems(ec.bytes(), rr, rext);
  for (int64_t q = 0; q < rm * rn; ++q) elems.set(q, &want[static_cast<size_t>(q) * ec.bytes()]);
  verify(ent.name, r, result_words(r, rr, rext, ec.units, bytes), bytes, false, elems, {});
  arena.end();
  return 0;
}
