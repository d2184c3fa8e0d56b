// Lane kernels of the searches: the extreme of a contiguous run of
// elements, the first element equal to a value, the truth count and the
// first deciding element of a contiguous run of LOGICAL elements, and the
// per-column reductions of a block of neighbouring lines.
//
// They use SSE2 (16-byte lanes) or AVX2 (32-byte lanes), whichever the CPU
// has (extremes, column locations, REAL*16 columns and column counts also
// AVX-512's 64-byte lanes, under Isa::avx2: wide_lanes), and are never
// called without one of them
// (isa() is Isa::none then; the callers keep their element loops for that
// case and for strided runs).
// Only comparisons, selections and integer counts run in the lanes: nothing
// here computes a REAL value (the REAL*16 filter's bound below is no result).
//
// Why a lane comparison of REAL elements is the x87's: both compare the
// exact values of two finite or infinite operands, and both call any
// comparison with a NaN unordered (false for <, <=, >, >=, ==). The one
// difference is a MXCSR whose DAZ bit makes the SSE unit read subnormal
// operands as zero; real_isa() then says Isa::none and the element loops
// run. The lanes select element bits by masks, so the element chosen keeps
// its bits (a signalling NaN is not quieted; -0 and +0 stay apart).
#pragma once

#include <cstddef>
#include <cstdint>

#include "symbols.h"

namespace f90::lanes {

enum class Isa : uint8_t { none, sse2, avx2 };

// The widest lanes of this CPU for integer and LOGICAL work.
Isa isa();
// The lanes for comparisons of REAL elements: isa() unless MXCSR has DAZ set.
Isa real_isa();

// Whether the kernels that have 64-byte lanes (extremes, column locations,
// REAL*16 columns, column counts) take them, given Isa::avx2, on a CPU
// with AVX-512 F/BW/VL/DQ: true but while a test runs the 32-byte lanes
// there. Results are the same either way.
F90_HIDDEN extern bool wide_lanes;

// The extreme (greatest when Max) of p[0..n), n >= 1, into `best`. REAL
// elements: `nan` tells whether a NaN was met, and `best` is then of no use
// (a NaN may have hidden the element it was paired with); integers leave
// `nan` false. Equal values are not told apart: the bits of a REAL result
// of 0 may be either zero's.
template <class T, bool Max>
void extreme(Isa isa, const T* p, int32_t n, T& best, bool& nan);

// Position of the first element of p[0..n) equal to v (REAL: by value, so
// -0 equals +0), n when none is.
template <class T>
int32_t find_equal(Isa isa, const T* p, int32_t n, const T& v);

// LOGICAL elements of B bytes (1, 2, 4 or 8; an 8-byte element is true when
// either of its words is non-zero): the number of true ones in p[0..n),
// and the position of the first one whose truth is `want` (n when none).
template <uint32_t B>
uint64_t count_true(Isa isa, const char* p, int64_t n);
template <uint32_t B>
int64_t find_truth(Isa isa, const char* p, int64_t n, bool want);

// REAL*16 (double-double: high part, then low part) searches, which take an
// element x in place of the current element c when _morvex_qcompare(x, c)
// is 1 (greatest) or -1 (least): the sign of the high part of the
// double-double difference x - c. That call is the rule; the lanes decide
// alone only where a bound proves its answer: the filter passes over
// elements it rejects, the mirror bound and the clear outcome take what it
// takes. The filter needs c to be tame:
// both its parts zeros, or its high part normal and its low part's exponent
// field at least 55 below the high part's (so |c.hi| >= 2^-968, and
// |c.lo| < 2^(e-54) for c.hi in the binade of 2^e).
//
// The filter (greatest; least is its mirror image) passes over x when
// x.hi + 4|x.lo| < c.hi, evaluated in SSE double arithmetic: the sum and
// the scaling are only a bound, never a result, and their flags stay out
// of the x87 status word that the IEEE procedures read. Why it is exact, in
// any rounding mode, with or without subnormals flushed or read as zero
// (the rule's own subtraction runs under the same MXCSR):
// - Rounding is monotone and c.hi a double, so exactly g = c.hi - x.hi >
//   4|x.lo|. g is at least half an ulp of c.hi's binade, 2^(e-53), so
//   |c.lo| < g/2.
// - x.hi within a factor 2 of c.hi: the subtraction's steps are exact but
//   for x.lo - c.lo, of magnitude below 0.75 g, added to s = -g: the high
//   part is negative, or -0 when flushed.
// - Otherwise g >= |c.hi|/2 and g >= |x.hi|/2: the two-sum's error (a few
//   ulps of s in any rounding mode), x.lo, c.lo and any subnormal flushed
//   (below 2^-1022, against g >= 2^-969) stay far below |s|, which keeps
//   its sign; a difference beyond the range gives an infinity of its sign.
// - c both zeros: x.hi < 0 and |x.lo| < |x.hi|/4, and the difference is
//   x.hi + x.lo, rounded.
// A NaN high part fails the comparison (a candidate), as do infinite and
// NaN low parts; a high part of -Inf passes, and is never taken anyway.
//
// The mirror bound (greatest; least mirrored): x replaces the current
// element c, _morvex_qcompare(x, c) being 1, when x.hi is finite and
// x.hi - 4|x.lo| > c.hi, with c tame and |c.hi| >= 2^-900. Exactly
// g = x.hi - c.hi > 4|x.lo|, and g >= 2^(e-53) for c.hi in the binade of
// 2^e (the least gap, from -2^e to the double above it), so |c.lo| < g/2
// and g >= 2^-953. Within a factor 2 of each other the subtraction's steps
// are exact but x.lo - c.lo, below 0.75 g, added to s = g: the high part
// is positive. Otherwise g >= half of both high parts, and the low parts
// (below 0.75 g together), the two-sum's error (a few ulps of s) and any
// subnormal flushed (below 2^-1022) leave s its sign; a difference beyond
// the range gives +Inf, or the largest double when rounding toward zero or
// down. Equal high parts never qualify. The same holds for an x with
// |x.hi| >= 2^-900 against any c with a finite high part when
// c.hi + 4 max(|x.lo|, |c.lo|) < x.hi: then g > 4|c.lo|, g >= 2^(e-53) for
// x.hi's binade, and c never replaces x either (the filter's argument,
// |x.lo| < g/4 standing in for tameness).
//
// The clear outcome of a column (r16_columns): let y be the first element
// of the greatest high part among the current element c (when its high
// part is finite) and the rows, next the greatest high part of the others
// (NaN high parts left out: such elements are never taken) and sum the
// rounded sum of the low parts' magnitudes, c's and y's included. A rounded
// sum of magnitudes is at least each of them (monotone rounding; under
// flush to zero a lost subnormal is below 2^-1022, against g >= 2^-953).
// When y.hi is finite, |y.hi| >= 2^-900, sum < 2^1000 (so 4 sum is exact)
// and next + 4 sum < y.hi (rounded, so exactly), every other element z with
// a finite high part meets the second form of the mirror bound against y
// (y for x, z for c): whatever element is current when y comes (or none,
// or y is c), y replaces it, and no later element replaces y. The rule ends on y, at y's row, and the lanes take it
// without calling _morvex_qcompare; an outcome that is not clear (a near
// tie, a NaN or infinite part, an extreme too small or too large, a
// non-canonical low part reaching across) sends the column's rows through
// the filter and the first form of the mirror bound, and what neither
// decides to the rule. The comparisons read subnormal operands as zero
// under DAZ as the rule's subtraction does; the element taken keeps its
// bits (selected by masks, its low part read or kept as bits); the bound's
// flags stay in MXCSR. All of this holds for each build alike: the AVX-512
// one makes the same comparisons, sums and selections, its comparisons
// into mask registers.
bool r16_tame(const char* p);
// Position of the first element of p[0..n) (16 bytes each) that the filter
// does not pass over for the tame element c, n when it passes over all
// (0 without lanes: every element is then a candidate).
int32_t r16_first_candidate(Isa isa, const char* p, int32_t n, const char* c, bool greatest);

// Position of the first element of p[0..n) (16 bytes each) whose high part
// is infinite or a NaN, n when none is (every element without lanes).
int32_t r16_first_special(Isa isa, const char* p, int32_t n);

// Per-column reductions of a block of neighbouring lines. The block's
// element (row k, column j) lies at p + k * row_step + j * sizeof(T): each
// line is a column, its elements in row order, and a row is contiguous.
// `best` holds the bits of each column's current element and `at` (null: a
// value search) its row, for rows `k0` .. `k0 + rows - 1`; columns
// j < `columns` only. They come in holding the start (a start value, or
// where an earlier call ended), or, with `first` (the row before row k0,
// laid out as a row), each column starts from its element there at row
// k0 - 1 and best and at are only written: the kernels read that row where
// it lies instead of a copy. real_min never takes a NaN: a column whose
// element in `first` is a NaN starts from its first element that is not (a
// column of NaNs keeps the NaN at row k0 - 1). With `at` `best` ends holding
// each column's current value, not necessarily the bits of its current
// element (-0 for +0, or another NaN).
//
// Rule: how an element x takes the place of a column's current value c.
//   integer_max / integer_min: x > c / x < c (first of equal values kept);
//   real_max: c >= x fails (so a NaN is taken, and replaced by the next);
//   real_min: c > x holds (NaNs never taken).
enum class Rule : uint8_t { integer_max, integer_min, real_max, real_min };
template <class T, Rule R>
void columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t k0, int32_t rows,
             int32_t columns, const char* first, T* best, int32_t* at);

// out[j] = at[j] + origin for j < n (out: n contiguous 32-bit integers, any
// alignment): the rows of a block as a contiguous INTEGER*4 result.
void offset_rows(Isa isa, const int32_t* at, int32_t n, int32_t origin, char* out);

// Per-column REAL*16 searches of a block laid out as for columns():
// `current` holds the bits of each column's current element (16 bytes a
// column) and `at` its row (null: rows not kept), for rows k0 .. k0 + rows
// - 1. With `first` (the row before row k0, laid out as a row), each
// column's current element comes from there instead, at row k0 - 1, and
// `current` and `at` are only written (not copied in first, which a block's
// search from memory paid for as a twentieth of its time); a search with
// `at` then leaves `current` as scratch (rows are its result).
// takes(c, x) is the rule: whether x takes the place of the current
// element c (a c whose high part is not finite stands for none taken yet).
// A column whose outcome is clear (above) takes its y in the lanes; in the
// others the lanes pass over what the filter clears and take what the
// mirror bound proves against a tame current element, and every other
// element goes to the rule, in row order.
using R16Rule = bool (*)(const char* current, const char* x);
void r16_columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t k0, int32_t rows,
                 int32_t columns, bool greatest, R16Rule takes, const char* first,
                 char* current, int32_t* at);

// Per-column LOGICAL reductions: count[j] grows by the number of elements
// of column j in rows 0 .. rows - 1 whose truth is `truth` (COUNT counts the
// true ones; ANY and ALL look for a true and a false one).
template <uint32_t B>
void count_columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t rows, int32_t columns,
                   bool truth, uint32_t* count);

}  // namespace f90::lanes
