#include "values.h"

#include <cmath>
#include <cstring>

namespace fz {

void numeric_value(uint8_t* out, Num family, uint32_t bytes, Rng& rng, uint32_t mode,
                   uint32_t special) {
  uint8_t b[16] = {};
  // Below `special`: one of the extremes; the first 16 picks are spread over them.
  const uint32_t pick = rng.below(256) < special ? rng.below(8) : 8;
  if (family == Num::kInt) {
    int64_t v = mode == 0 ? static_cast<int64_t>(rng.below(7)) - 3 : static_cast<int64_t>(rng.next());
    if (pick == 0) v = INT64_MIN;
    if (pick == 1) v = INT64_MAX;
    if (pick == 2) v = bytes == 4 ? INT32_MIN : bytes == 2 ? INT16_MIN : bytes == 1 ? INT8_MIN : INT64_MIN;
    if (pick == 3) v = bytes == 4 ? INT32_MAX : bytes == 2 ? INT16_MAX : bytes == 1 ? INT8_MAX : INT64_MAX;
    std::memcpy(b, &v, 8);  // low bytes first
  } else {
    double v = mode == 0 ? static_cast<double>(static_cast<int>(rng.below(7)) - 3)
                         : std::ldexp(static_cast<double>(static_cast<int64_t>(rng.next() >> 11)) - 4e15,
                                      static_cast<int>(rng.below(200)) - 100);
    switch (pick) {
      case 0: v = std::nan(""); if (rng.below(2)) v = -v; break;
      case 1: v = INFINITY; break;
      case 2: v = -INFINITY; break;
      case 3: v = rng.below(2) ? 0.0 : -0.0; break;
      case 4: v = rng.below(2) ? 1e300 : -1e300; break;
      case 5: v = rng.below(2) ? 9218868437227405312.0 : -9218868437227405312.0; break;
      case 6: v = 4.9e-324; break;
      case 7: v = rng.below(2) ? 3.4028234663852886e38 : 1.1754943508222875e-38; break;
      default: break;
    }
    if (bytes == 4) {
      const float f = static_cast<float>(v);
      std::memcpy(b, &f, 4);
    } else {
      std::memcpy(b, &v, 8);
      if (bytes == 16 && std::isfinite(v) && v != 0 && rng.below(2)) {
        int ex;
        std::frexp(v, &ex);
        const double lo = std::ldexp(static_cast<double>(static_cast<int>(rng.below(9)) - 4), ex - 60);
        std::memcpy(b + 8, &lo, 8);
      }
    }
  }
  std::memcpy(out, b, bytes);
}

void fill_numeric(const FArray& a, Num family, uint32_t part_bytes, uint32_t parts, Rng& rng,
                  uint32_t mode, uint32_t special) {
  for (int64_t i = 0; i < a.count; ++i) {
    char* p = a.at_linear(i);
    Arena::unpoison(p, part_bytes * parts);
    for (uint32_t k = 0; k < parts; ++k) {
      numeric_value(reinterpret_cast<uint8_t*>(p) + k * part_bytes, family, part_bytes, rng, mode,
                    special);
    }
  }
}

}  // namespace fz
