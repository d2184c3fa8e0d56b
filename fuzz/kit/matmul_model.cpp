#include "matmul_model.h"

#include <cstring>

namespace fz {

namespace {

bool logical(DK k) { return k == DK::L1 || k == DK::L2 || k == DK::L4 || k == DK::L; }
bool integer(DK k) { return k == DK::I1 || k == DK::I2 || k == DK::I4 || k == DK::J; }

// An element as exact integer parts: integers of any value; real and complex
// parts hold small integral values.
struct Exact {
  int64_t re = 0, im = 0;
};

Exact exact(DK k, const char* p) {
  Exact v;
  switch (k) {
    case DK::I1: case DK::I2: case DK::I4: case DK::J:
      v.re = read_int(p, dk_size(k));
      break;
    case DK::S4: case DK::C4: {
      float f[2] = {};
      std::memcpy(f, p, dk_size(k));
      v.re = static_cast<int64_t>(f[0]);
      v.im = static_cast<int64_t>(f[1]);
      break;
    }
    case DK::S: case DK::C: case DK::D: {
      double d[2] = {};
      std::memcpy(&d[0], p, 8);
      if (k == DK::C) std::memcpy(&d[1], p + 8, 8);
      v.re = static_cast<int64_t>(d[0]);
      v.im = static_cast<int64_t>(d[1]);
      break;
    }
    case DK::Z: {
      double re, im;
      std::memcpy(&re, p, 8);
      std::memcpy(&im, p + 16, 8);
      v.re = static_cast<int64_t>(re);
      v.im = static_cast<int64_t>(im);
      break;
    }
    default: break;
  }
  return v;
}

uint64_t logical_bits(DK k, const char* p) {
  uint32_t v = 0;
  const uint32_t n = dk_size(k) < 4 ? dk_size(k) : 4;
  std::memcpy(&v, p, n);
  return v;
}

void put_real(uint8_t* out, DK k, int64_t v) {
  switch (k) {
    case DK::S4: case DK::C4: { const float f = static_cast<float>(v); std::memcpy(out, &f, 4); break; }
    case DK::S: case DK::C: { const double d = static_cast<double>(v); std::memcpy(out, &d, 8); break; }
    default: { const double d[2] = {static_cast<double>(v), 0.0}; std::memcpy(out, d, 16); break; }
  }
}

}  // namespace

uint32_t dk_size(DK k) { return dk_elem(k).bytes(); }

std::vector<uint8_t> model_matmul(const MatmulRule& rule, const ElementAt& a, const ElementAt& b,
                                  int64_t m, int64_t n, int64_t k) {
  const uint32_t cb = dk_size(rule.c);
  std::vector<uint8_t> out(static_cast<size_t>(m * n) * cb, 0);
  for (int64_t j = 0; j < n; ++j) {
    for (int64_t i = 0; i < m; ++i) {
      uint8_t* o = &out[static_cast<size_t>(i + j * m) * cb];
      if (logical(rule.c)) {
        uint64_t bits = 0;
        for (int64_t l = 0; l < k; ++l) {
          const uint64_t x = logical_bits(rule.a, a(i, l)), y = logical_bits(rule.b, b(l, j));
          if (rule.logical_b_first ? x != 0 : y != 0) bits |= rule.logical_b_first ? y : x;
        }
        std::memcpy(o, &bits, cb < 4 ? cb : 4);  // LOGICAL*8: high word 0
        continue;
      }
      uint64_t re = 0, im = 0;  // wrapping sums
      for (int64_t l = 0; l < k; ++l) {
        const Exact x = exact(rule.a, a(i, l)), y = exact(rule.b, b(l, j));
        const uint64_t xr = static_cast<uint64_t>(x.re), xi = static_cast<uint64_t>(x.im);
        const uint64_t yr = static_cast<uint64_t>(y.re), yi = static_cast<uint64_t>(y.im);
        re += xr * yr - xi * yi;
        im += xr * yi + xi * yr;
      }
      if (integer(rule.c)) {
        std::memcpy(o, &re, cb);
      } else {
        put_real(o, rule.c, static_cast<int64_t>(re));
        if (rule.c == DK::C4 || rule.c == DK::C || rule.c == DK::Z) {
          put_real(o + cb / 2, rule.c, static_cast<int64_t>(im));
        }
      }
    }
  }
  return out;
}

}  // namespace fz
