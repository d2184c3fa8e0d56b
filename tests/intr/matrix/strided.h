// Matrices on strided storage for the kernel tests, and the REAL*16
// reference arithmetic (the exported double-double routines, one call each).
//
//   Strided<double> a(3, 4, 1, 3);   // 3 x 4, column order
//   Strided<double> r(3, 4, 4, 1);   // the same shape stored row-wise
//   Strided<double> s(3, 4, -2, -7); // a section walked backwards
//   StridedBlock c(8, 3, 4, 1, 3);   // element bytes known at run time
//
// The element (i, j) (0-based) lies i*s1 + j*s2 elements from ptr(); the
// block around the elements is filled with a byte pattern, so a store outside
// the matrix shows in untouched_outside().
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "f90/f90.h"
#include "f90/matmul.h"
#include "value/types.h"

namespace mxtest {

using morvex::DoubleDouble;  // REAL*16
using Z = ::Complex32;     // COMPLEX*32

inline DoubleDouble qadd(DoubleDouble a, DoubleDouble b) {
  DoubleDouble r;
  _morvex_qadd(&r, a, b);
  return r;
}
inline DoubleDouble qsub(DoubleDouble a, DoubleDouble b) {
  DoubleDouble r;
  _morvex_qsub(&r, a, b);
  return r;
}
inline DoubleDouble qmul(DoubleDouble a, DoubleDouble b) {
  DoubleDouble r;
  _morvex_qmul(&r, a, b);
  return r;
}
// Equal or unordered, the only outcome the kernels read of _morvex_qcmp.
inline bool qequal(DoubleDouble a, DoubleDouble b) { return (_morvex_qcmp(a, b) & 0x4000) != 0; }

// Elements of `size` bytes, the size known at run time (kinds from a table).
class StridedBlock {
 public:
  StridedBlock(uint32_t size, int32_t rows, int32_t cols, int32_t s1, int32_t s2,
               unsigned char fill = 0xC5)
      : rows_(rows), cols_(cols), s1_(s1), s2_(s2), size_(size), fill_(fill) {
    int64_t lo = 0, hi = 0;
    if (rows > 0 && cols > 0) {
      for (int64_t off : {int64_t{rows - 1} * s1, int64_t{cols - 1} * s2}) {
        if (off < 0) lo += off; else hi += off;
      }
    }
    base_ = 2 - lo;  // two guard elements on each side
    bytes_.assign(static_cast<size_t>(hi - lo + 5) * size, fill);
  }
  char* at(int64_t i, int64_t j) { return const_cast<char*>(std::as_const(*this).at(i, j)); }
  const char* at(int64_t i, int64_t j) const {
    return reinterpret_cast<const char*>(bytes_.data()) + offset(i, j);
  }
  char* base() { return at(0, 0); }
  int32_t rows() const { return rows_; }
  int32_t cols() const { return cols_; }
  uint32_t size() const { return size_; }
  const int32_t* s1() const { return &s1_; }
  const int32_t* s2() const { return &s2_; }
  // Every byte that is not part of an element still holds the fill.
  bool untouched_outside() const {
    std::vector<bool> inside(bytes_.size());
    for (int32_t j = 0; j < cols_; ++j)
      for (int32_t i = 0; i < rows_; ++i) {
        for (size_t b = 0; b < size_; ++b) inside[static_cast<size_t>(offset(i, j)) + b] = true;
      }
    for (size_t b = 0; b < bytes_.size(); ++b)
      if (!inside[b] && bytes_[b] != fill_) return false;
    return true;
  }
  const std::vector<unsigned char>& bytes() const { return bytes_; }

 private:
  int64_t offset(int64_t i, int64_t j) const { return (base_ + i * s1_ + j * s2_) * int64_t{size_}; }
  int32_t rows_, cols_, s1_, s2_;
  uint32_t size_;
  unsigned char fill_;
  int64_t base_;
  std::vector<unsigned char> bytes_;
};

// The same storage with elements of type T.
template <class T>
class Strided : public StridedBlock {
 public:
  Strided(int32_t rows, int32_t cols, int32_t s1, int32_t s2, unsigned char fill = 0xC5)
      : StridedBlock(sizeof(T), rows, cols, s1, s2, fill) {}
  T* ptr() { return reinterpret_cast<T*>(base()); }
  T get(int32_t i, int32_t j) const {
    T v;
    std::memcpy(&v, at(i, j), sizeof v);
    return v;
  }
  void set(int32_t i, int32_t j, const T& v) { std::memcpy(at(i, j), &v, sizeof v); }
};

// Bit-equal doubles, or both NaN (the payload of a NaN made from two NaN
// operands may depend on the order the compiler gives a commutative add).
inline bool same(double x, double y) {
  if (std::isnan(x) && std::isnan(y)) return true;
  return std::memcmp(&x, &y, sizeof x) == 0;
}
inline bool same(float x, float y) {
  if (std::isnan(x) && std::isnan(y)) return true;
  return std::memcmp(&x, &y, sizeof x) == 0;
}
inline bool same(DoubleDouble x, DoubleDouble y) { return same(x.hi, y.hi) && same(x.lo, y.lo); }
inline bool same(Z x, Z y) { return same(x.re, y.re) && same(x.im, y.im); }

// Random operands with a share of zeros, infinities and NaNs.
class Values {
 public:
  explicit Values(uint32_t seed) : rng_(seed) {}
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double special(double normal) {
    switch (pick(0, 39)) {
      case 0: return 0.0;
      case 1: return -0.0;
      case 2: return INFINITY;
      case 3: return -INFINITY;
      case 4: return NAN;
      case 5: case 6: case 7: return 0.0;
      default: return normal;
    }
  }
  double real() { return special(std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng_), pick(-4, 4))); }
  template <class T>
  T make();

 private:
  std::mt19937 rng_;
};

template <>
inline double Values::make<double>() { return real(); }
template <>
inline float Values::make<float>() { return static_cast<float>(real()); }
template <>
inline DoubleDouble Values::make<DoubleDouble>() {
  const double hi = real();
  if (!std::isfinite(hi) || hi == 0.0) return {hi, 0.0};
  return {hi, hi * std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng_), -54)};
}
template <>
inline Z Values::make<Z>() {
  return {make<DoubleDouble>(), make<DoubleDouble>()};
}
template <>
inline int32_t Values::make<int32_t>() {
  const int r = pick(0, 9);
  if (r == 0) return 0;
  if (r == 1) return pick(0, 1) ? INT32_MAX : INT32_MIN;
  return pick(-100000, 100000);
}
template <>
inline int16_t Values::make<int16_t>() { return static_cast<int16_t>(pick(-32768, 32767) * (pick(0, 5) != 0)); }
template <>
inline int8_t Values::make<int8_t>() { return static_cast<int8_t>(pick(-128, 127)); }
template <>
inline int64_t Values::make<int64_t>() {
  switch (pick(0, 5)) {
    case 0: return 0;
    case 1: return INT64_MIN;
    case 2: return (int64_t{1} << 62) + pick(1, 1000);  // beyond 2^53: inexact as a double
    case 3: return -((int64_t{1} << 55) + pick(1, 99));
    default: return pick(-1000000, 1000000);
  }
}

template <class T>
void fill(Strided<T>& m, Values& v) {
  for (int32_t j = 0; j < m.cols(); ++j)
    for (int32_t i = 0; i < m.rows(); ++i) m.set(i, j, v.make<T>());
}

}  // namespace mxtest
