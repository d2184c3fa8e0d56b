#include "dot_model.h"

#include <cstring>

#include "f90/elemental.h"

namespace fz {

namespace {

using LD = long double;
using DDv = DoubleDouble;

uint32_t dk_bytes(DK k) {
  switch (k) {
    case DK::I1: case DK::L1: return 1;
    case DK::I2: case DK::L2: return 2;
    case DK::I4: case DK::L4: case DK::S4: return 4;
    case DK::J: case DK::L: case DK::S: case DK::C4: return 8;
    case DK::D: case DK::C: return 16;
    case DK::Z: return 32;
  }
  return 4;
}

bool dk_int(DK k) { return k == DK::I1 || k == DK::I2 || k == DK::I4 || k == DK::J; }
bool dk_logical(DK k) { return k == DK::L1 || k == DK::L2 || k == DK::L4 || k == DK::L; }

// One element, as every family reads it.
struct Val {
  bool cplx = false;
  int64_t i = 0;       // integers, sign-extended
  uint32_t l = 0;      // logicals: the (low) 32-bit word, zero-extended
  LD re = 0, im = 0;   // x87 values, exact
  DDv dre{0, 0}, dim{0, 0};  // double-double values, widened
};

DDv widen(double v) { return {v, 0.0}; }

// A REAL or COMPLEX element of parts of type F.
template <class F>
void read_parts(Val& v, const char* p, uint32_t bytes) {
  F f[2] = {};
  std::memcpy(f, p, bytes);
  v.re = f[0];
  v.im = f[1];
  v.dre = widen(f[0]);
  v.dim = widen(f[1]);
}

Val read(DK k, const char* p) {
  Val v;
  switch (k) {
    case DK::I1: case DK::I2: case DK::I4: case DK::J:
      v.i = read_int(p, dk_bytes(k));
      v.re = static_cast<LD>(v.i);
      if (k == DK::J) {
        _morvex_ll2q(&v.dre, v.i);
      } else {
        v.dre = widen(static_cast<double>(v.i));
      }
      break;
    case DK::L1: case DK::L2: case DK::L4: case DK::L: {
      const uint32_t n = dk_bytes(k) < 4 ? dk_bytes(k) : 4;
      std::memcpy(&v.l, p, n);
      break;
    }
    case DK::S4: case DK::C4: read_parts<float>(v, p, dk_bytes(k)); break;
    case DK::S: case DK::C: read_parts<double>(v, p, dk_bytes(k)); break;
    case DK::D: case DK::Z:
      std::memcpy(&v.dre, p, 16);
      if (k == DK::Z) std::memcpy(&v.dim, p + 16, 16);
      break;
  }
  v.cplx = dk_complex(k);
  return v;
}

LD rounded(LD x, int bytes) {
  if (bytes == 4) {
    volatile float f = static_cast<float>(x);
    return f;
  }
  volatile double d = static_cast<double>(x);
  return d;
}

DDv qadd(DDv x, DDv y) { DDv r; _morvex_qadd(&r, x, y); return r; }
DDv qsub(DDv x, DDv y) { DDv r; _morvex_qsub(&r, x, y); return r; }
DDv qmul(DDv x, DDv y) { DDv r; _morvex_qmul(&r, x, y); return r; }

// A double-double sum kept as a REAL*4 or REAL*8 variable.
DDv keep(DDv s, int bytes) {
  if (bytes == 4) {
    volatile float f = static_cast<float>(s.hi);
    return {static_cast<double>(f), 0.0};
  }
  return {s.hi, 0.0};
}

template <class T>
void put(std::vector<uint8_t>& out, size_t at, T v) {
  std::memcpy(&out[at], &v, sizeof v);
}

}  // namespace

bool dk_complex(DK k) { return k == DK::C4 || k == DK::C || k == DK::Z; }

Elem dk_elem(DK k) {
  const uint32_t n = dk_bytes(k);
  if (dk_int(k)) return Elem::numeric(TYPE_INTEGER, n);
  if (dk_logical(k)) return Elem::numeric(TYPE_LOGICAL, n);
  if (dk_complex(k)) return Elem::numeric(TYPE_COMPLEX, n);
  return Elem::numeric(TYPE_REAL, n);
}

std::vector<uint8_t> model_dot(const DotRule& rule, const FArray& a, const FArray& b, int64_t n) {
  std::vector<uint8_t> out(rule.out, 0);
  const bool ca = dk_complex(rule.a), cb = dk_complex(rule.b);
  int64_t isum = 0;
  uint32_t lsum = 0;
  LD re = 0, im = 0;
  DDv dre{0, 0}, dim{0, 0};
  const int rb = rule.round;
  for (int64_t k = 0; k < n; ++k) {
    const Val x = read(rule.a, a.at_linear(k)), y = read(rule.b, b.at_linear(k));
    switch (rule.acc) {
      case Acc::kInt:
        if (rule.a == DK::J || rule.b == DK::J) {
          isum = static_cast<int64_t>(static_cast<uint64_t>(isum) +
                                      static_cast<uint64_t>(x.i) * static_cast<uint64_t>(y.i));
        } else {
          const uint32_t t = static_cast<uint32_t>(static_cast<int32_t>(x.i)) *
                             static_cast<uint32_t>(static_cast<int32_t>(y.i));
          isum = static_cast<int32_t>(static_cast<uint32_t>(isum) + t);
        }
        break;
      case Acc::kLogical:
        lsum |= x.l & y.l;
        break;
      case Acc::kX87:
      case Acc::kStored: {
        const bool st = rule.acc == Acc::kStored;
        if (ca && cb) {
          const LD tr = x.re * y.re + x.im * y.im;
          const LD ti = x.re * y.im - x.im * y.re;
          re = st ? rounded(re + tr, rb) : re + tr;
          im = st ? rounded(im + ti, rb) : im + ti;
        } else if (ca) {
          re = st ? rounded(re + x.re * y.re, rb) : re + x.re * y.re;
          im = st ? rounded(im - x.im * y.re, rb) : im - x.im * y.re;
        } else if (cb) {
          re = st ? rounded(re + x.re * y.re, rb) : re + x.re * y.re;
          im = st ? rounded(im + x.re * y.im, rb) : im + x.re * y.im;
        } else {
          re = st ? rounded(re + x.re * y.re, rb) : re + x.re * y.re;
        }
        break;
      }
      case Acc::kDD:
      case Acc::kDDStored: {
        const bool st = rule.acc == Acc::kDDStored;
        auto add = [&](DDv s, DDv t) { return st ? keep(qadd(s, t), rb) : qadd(s, t); };
        auto sub = [&](DDv s, DDv t) { return st ? keep(qsub(s, t), rb) : qsub(s, t); };
        if (ca && cb) {
          const DDv tr = qadd(qmul(x.dre, y.dre), qmul(x.dim, y.dim));
          const DDv ti = qsub(qmul(x.dre, y.dim), qmul(x.dim, y.dre));
          dre = add(dre, tr);
          dim = add(dim, ti);
        } else if (ca) {
          dre = add(dre, qmul(x.dre, y.dre));
          dim = sub(dim, qmul(x.dim, y.dre));
        } else if (cb) {
          dre = add(dre, qmul(x.dre, y.dre));
          dim = add(dim, qmul(x.dre, y.dim));
        } else {
          dre = add(dre, qmul(x.dre, y.dre));
        }
        break;
      }
    }
  }
  switch (rule.acc) {
    case Acc::kInt: {
      if (rule.out == 8) {
        put(out, 0, isum);
      } else {
        // Cut to the wider operand's width, sign-extended.
        const uint32_t w = std::max(dk_bytes(rule.a), dk_bytes(rule.b));
        const int32_t v = static_cast<int32_t>(read_int(reinterpret_cast<const char*>(&isum), w));
        put(out, 0, v);
      }
      break;
    }
    case Acc::kLogical: {
      const uint32_t w = std::max(dk_bytes(rule.a), dk_bytes(rule.b));
      const uint32_t v = w == 1 ? (lsum & 0xff) : w == 2 ? (lsum & 0xffff) : lsum;
      put(out, 0, v);  // LOGICAL*8: high word stays 0
      break;
    }
    case Acc::kX87:
    case Acc::kStored:
      if (!rule.out_complex) {
        if (rule.out == 10) {
          std::memcpy(out.data(), &re, 10);
        } else if (rule.out == 8) {
          put(out, 0, static_cast<double>(re));
        } else {
          put(out, 0, static_cast<float>(re));
        }
      } else if (rule.out == 8) {
        put(out, 0, static_cast<float>(re));
        put(out, 4, static_cast<float>(im));
      } else {
        put(out, 0, static_cast<double>(re));
        put(out, 8, static_cast<double>(im));
      }
      break;
    case Acc::kDD:
    case Acc::kDDStored:
      if (rule.out == 8) {  // COMPLEX*8 from REAL*4 sums
        put(out, 0, static_cast<float>(dre.hi));
        put(out, 4, static_cast<float>(dim.hi));
      } else {
        put(out, 0, dre);
        if (rule.out == 32) put(out, 16, dim);
      }
      break;
  }
  return out;
}

}  // namespace fz
