#include "location_model.h"

#include <cmath>
#include <cstring>

#include "f90/elemental.h"

namespace fz {

namespace {

struct Scan {
  int code;
  bool max;
  bool have = false;  // an element has been taken
  uint8_t cur[16];

  void start() { have = false; }

  // REAL*4/8: the greatest takes a NaN (and passes it on), the least never.
  template <class F>
  bool real_updates(const char* e) const {
    F x, c;
    std::memcpy(&x, e, sizeof x);
    std::memcpy(&c, cur, sizeof c);
    return max ? (!have || !(c >= x)) : (x == x && (!have || c > x));
  }

  bool take(const char* e) {
    bool update;
    switch (code) {
      case 7: case 8: case 15: case 17: {
        const uint32_t n = location_elem_bytes(code);
        const int64_t x = read_int(e, n), c = read_int(reinterpret_cast<const char*>(cur), n);
        update = !have || (max ? x > c : x < c);
        break;
      }
      case 20: update = real_updates<float>(e); break;
      case 18: update = real_updates<double>(e); break;
      default: {
        DoubleDouble x, c;
        std::memcpy(&x, e, 16);
        std::memcpy(&c, cur, 16);
        if (!std::isfinite(x.hi)) return false;
        const int32_t s = have ? _morvex_qcompare(x, c) : 0;
        update = !have || (max ? s > 0 : s < 0);
        break;
      }
    }
    if (update) {
      std::memcpy(cur, e, location_elem_bytes(code));
      have = true;
    }
    return update;
  }
};

}  // namespace

uint32_t location_elem_bytes(int code) {
  switch (code) {
    case 7: return 1;
    case 8: return 2;
    case 15: case 20: return 4;
    case 17: case 18: return 8;
    default: return 16;
  }
}

std::vector<int32_t> model_locations(int code, bool max, const FArray& source, const FArray* mask,
                                     int dim) {
  const int rank = source.rank();
  int64_t ext[F90_MAX_RANK], idx[F90_MAX_RANK];
  for (int i = 0; i < rank; ++i) ext[i] = source.shape.extent[i] > 0 ? source.shape.extent[i] : 0;
  const uint32_t mbits = mask ? mask->elem.bytes() * 8 : 0;
  const int32_t none = mask ? -1 : 0;
  Scan s{code, max, {}};

  if (dim < 0) {
    std::vector<int32_t> at(rank, none);
    s.start();
    for (int64_t k = 0; k < source.count; ++k) {
      unlinear(k, rank, ext, idx);
      if (mask && !read_logical(mask->at(idx), mbits)) continue;
      if (s.take(source.at(idx))) {
        for (int i = 0; i < rank; ++i) at[i] = static_cast<int32_t>(idx[i]);
      }
    }
    for (int32_t& v : at) v += 1;
    return at;
  }

  // One line per element of the other dimensions, in their array element order.
  int64_t oext[F90_MAX_RANK], oidx[F90_MAX_RANK];
  int orank = 0;
  int64_t lines = 1;
  for (int i = 0; i < rank; ++i) {
    if (i == dim) continue;
    oext[orank++] = ext[i];
    lines *= ext[i];
  }
  std::vector<int32_t> out(static_cast<size_t>(lines), 0);
  for (int64_t l = 0; l < lines; ++l) {
    unlinear(l, orank, oext, oidx);
    for (int i = 0, j = 0; i < rank; ++i) idx[i] = i == dim ? 0 : oidx[j++];
    s.start();
    int32_t at = none;
    for (int64_t p = 0; p < ext[dim]; ++p) {
      idx[dim] = p;
      if (mask && !read_logical(mask->at(idx), mbits)) continue;
      if (s.take(source.at(idx))) at = static_cast<int32_t>(p);
    }
    out[l] = at + 1;
  }
  return out;
}

}  // namespace fz
