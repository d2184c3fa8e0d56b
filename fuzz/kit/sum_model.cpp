#include "sum_model.h"

#include <cstring>

#include "f90/elemental.h"
#include "f90/messages.h"

namespace fz {

namespace {

using LD = long double;
using DDv = DoubleDouble;

bool is_int(SK k) { return k == SK::I1 || k == SK::I2 || k == SK::I4 || k == SK::J; }
bool is_x87(SK k) { return k == SK::S4 || k == SK::S || k == SK::C4 || k == SK::C; }
bool is_complex(SK k) { return k == SK::C4 || k == SK::C || k == SK::Z; }
// Bytes of one real part.
uint32_t part_bytes(SK k) { return is_complex(k) ? sk_bytes(k) / 2 : sk_bytes(k); }

LD load_part(const uint8_t* p, uint32_t bytes) {
  if (bytes == 4) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
  }
  double d;
  std::memcpy(&d, p, 8);
  return d;
}

void store_part(uint8_t* p, uint32_t bytes, LD v) {
  if (bytes == 4) {
    const float f = static_cast<float>(v);
    std::memcpy(p, &f, 4);
  } else {
    const double d = static_cast<double>(v);
    std::memcpy(p, &d, 8);
  }
}

DDv dd_at(const uint8_t* p) {
  DDv v;
  std::memcpy(&v, p, 16);
  return v;
}
DDv qadd(DDv x, DDv y) { DDv r; _morvex_qadd(&r, x, y); return r; }
DDv qsub(DDv x, DDv y) { DDv r; _morvex_qsub(&r, x, y); return r; }
DDv qmul(DDv x, DDv y) { DDv r; _morvex_qmul(&r, x, y); return r; }

// The running value of one reduction. `slot` holds it in the element's
// format between runs (and for the per-term steps along DIM); x87 kinds
// keep it in `re`/`im` during a run.
struct Acc {
  SK k;
  bool product;
  int64_t i = 0;
  uint8_t slot[32] = {};
  LD re = 0, im = 0;

  void identity() {
    std::memset(slot, 0, sizeof slot);
    i = product ? 1 : 0;
    const uint32_t pb = part_bytes(k);
    if (k == SK::D || k == SK::Z) {
      const DDv one{product ? 1.0 : 0.0, 0.0};
      std::memcpy(slot, &one, 16);
    } else if (!is_int(k)) {
      store_part(slot, pb, product ? 1.0L : 0.0L);
    }
    re = product ? 1.0L : 0.0L;
    im = 0;
  }
  void begin_run() {
    if (k == SK::C4 || k == SK::C) {
      re = load_part(slot, part_bytes(k));
      im = load_part(slot + part_bytes(k), part_bytes(k));
    }
  }
  void end_run() {
    if (k == SK::C4 || k == SK::C) {
      store_part(slot, part_bytes(k), re);
      store_part(slot + part_bytes(k), part_bytes(k), im);
    }
  }
  // One term; `per_term`: along DIM, the running value rounded to the
  // element's format after the step.
  void take(const uint8_t* e, bool per_term) {
    const uint32_t pb = part_bytes(k);
    if (is_int(k)) {
      const int64_t x = read_int(reinterpret_cast<const char*>(e), sk_bytes(k));
      i = static_cast<int64_t>(product ? static_cast<uint64_t>(i) * static_cast<uint64_t>(x)
                                       : static_cast<uint64_t>(i) + static_cast<uint64_t>(x));
      return;
    }
    if (k == SK::S4 || k == SK::S) {
      const LD x = load_part(e, pb);
      if (per_term) {
        const LD r = load_part(slot, pb);
        store_part(slot, pb, product ? r * x : r + x);
      } else {
        re = product ? re * x : re + x;
      }
      return;
    }
    if (k == SK::C4 || k == SK::C) {
      const LD a = load_part(e, pb), b = load_part(e + pb, pb);
      LD R = per_term ? load_part(slot, pb) : re, I = per_term ? load_part(slot + pb, pb) : im;
      if (!product) {
        R = R + a;
        I = I + b;
      } else if (per_term) {
        const LD p1 = I * b, p2 = R * a;
        const LD nr = p2 - p1;
        const LD p3 = a * I, p4 = R * b;
        I = p4 + p3;
        R = nr;
      } else {
        const LD p1 = I * b, p2 = R * a, p3 = R * b;
        const LD nr = p2 - p1;
        const LD p4 = I * a;
        I = p3 + p4;
        R = nr;
      }
      if (per_term) {
        store_part(slot, pb, R);
        store_part(slot + pb, pb, I);
      } else {
        re = R;
        im = I;
      }
      return;
    }
    // REAL*16 and COMPLEX*32: the same steps whole and along DIM.
    const DDv c = dd_at(e);
    const DDv A = dd_at(slot);
    if (k == SK::D) {
      const DDv r = product ? qmul(A, c) : qadd(A, c);
      std::memcpy(slot, &r, 16);
      return;
    }
    const DDv d = dd_at(e + 16), B = dd_at(slot + 16);
    DDv nr, ni;
    if (!product) {
      nr = qadd(A, c);
      ni = qadd(B, d);
    } else {
      const DDv t1 = qmul(B, d), t2 = qmul(A, c), t3 = qmul(A, d);
      nr = qsub(t2, t1);
      const DDv t5 = qmul(c, B);
      ni = qadd(t3, t5);
    }
    std::memcpy(slot, &nr, 16);
    std::memcpy(slot + 16, &ni, 16);
  }
};

// The value handed back by the whole-array forms.
std::vector<uint8_t> whole_value(const Acc& acc) {
  const SK k = acc.k;
  std::vector<uint8_t> out;
  if (is_int(k) && k != SK::J) {
    const int32_t v = static_cast<int32_t>(read_int(reinterpret_cast<const char*>(&acc.i), sk_bytes(k)));
    out.resize(4);
    std::memcpy(out.data(), &v, 4);
  } else if (k == SK::J) {
    out.resize(8);
    std::memcpy(out.data(), &acc.i, 8);
  } else if (k == SK::S4 || k == SK::S) {
    out.resize(10);
    std::memcpy(out.data(), &acc.re, 10);
  } else {
    out.assign(acc.slot, acc.slot + sk_bytes(k));
  }
  return out;
}

// The element bytes of a result element along DIM.
void dim_value(const Acc& acc, uint8_t* out) {
  if (is_int(acc.k)) {
    std::memcpy(out, &acc.i, sk_bytes(acc.k));
  } else {
    std::memcpy(out, acc.slot, sk_bytes(acc.k));
  }
}

bool term_taken(const FArray* mask, const int64_t* idx) {
  if (mask == nullptr) return true;
  const char* p = mask->rank() == 0 ? mask->base : mask->at(idx);
  return sum_mask_true(p, mask->elem.bytes());
}

}  // namespace

uint32_t sk_bytes(SK k) {
  switch (k) {
    case SK::I1: return 1;
    case SK::I2: return 2;
    case SK::I4: case SK::S4: return 4;
    case SK::J: case SK::S: case SK::C4: return 8;
    case SK::D: case SK::C: return 16;
    case SK::Z: return 32;
  }
  return 4;
}

Elem sk_elem(SK k) {
  if (is_int(k)) return Elem::numeric(TYPE_INTEGER, sk_bytes(k));
  if (is_complex(k)) return Elem::numeric(TYPE_COMPLEX, sk_bytes(k));
  return Elem::numeric(TYPE_REAL, sk_bytes(k));
}

bool sum_mask_true(const char* p, uint32_t bytes) {
  uint8_t b[4] = {};
  std::memcpy(b, p, bytes < 4 ? bytes : 4);
  return (b[0] | b[1] | b[2] | b[3]) != 0;
}

std::vector<uint8_t> model_sum_whole(SK k, bool product, const FArray& source, const FArray* mask) {
  Acc acc{k, product};
  acc.identity();
  const int rank = source.rank();
  if (source.count > 0 || rank == 0) {
    int64_t ext[F90_MAX_RANK], idx[F90_MAX_RANK] = {};
    for (int i = 0; i < rank; ++i) ext[i] = source.shape.extent[i];
    // Runs: along dimension 1, except a masked rank-2 source, walked row by
    // row (runs along dimension 2). A rank-0 source is one run of one term.
    const bool rows = rank == 2 && mask != nullptr;
    const int inner = rows ? 1 : 0;
    const int64_t run_len = rank == 0 ? 1 : ext[inner];
    const int64_t runs = rank == 0 ? 1 : source.count / run_len;
    for (int64_t r = 0; r < runs; ++r) {
      // The indices of the run's first term.
      if (rows) {
        idx[0] = r;
      } else if (rank > 0) {
        int64_t q = r;
        for (int i = 1; i < rank; ++i) {
          idx[i] = q % ext[i];
          q /= ext[i];
        }
      }
      acc.begin_run();
      for (int64_t t = 0; t < run_len; ++t) {
        if (rank > 0) idx[inner] = t;
        if (!term_taken(mask, idx)) continue;
        const char* e = rank == 0 ? source.base : source.at(idx);
        acc.take(reinterpret_cast<const uint8_t*>(e), false);
      }
      acc.end_run();
    }
  }
  return whole_value(acc);
}

std::vector<uint8_t> model_sum_dim(SK k, bool product, const FArray& source, const FArray* mask,
                                   int dim) {
  const int rank = source.rank();
  int64_t ext[F90_MAX_RANK], oext[F90_MAX_RANK], oidx[F90_MAX_RANK], idx[F90_MAX_RANK];
  int orank = 0;
  int64_t lines = 1;
  for (int i = 0; i < rank; ++i) {
    ext[i] = source.shape.extent[i] > 0 ? source.shape.extent[i] : 0;
    if (i == dim) continue;
    oext[orank++] = ext[i];
    lines *= ext[i];
  }
  const uint32_t n = sk_bytes(k);
  std::vector<uint8_t> out(static_cast<size_t>(lines) * n);
  Acc acc{k, product};
  for (int64_t l = 0; l < lines; ++l) {
    unlinear(l, orank, oext, oidx);
    for (int i = 0, j = 0; i < rank; ++i) idx[i] = i == dim ? 0 : oidx[j++];
    acc.identity();
    for (int64_t p = 0; p < ext[dim]; ++p) {
      idx[dim] = p;
      if (!term_taken(mask, idx)) continue;
      acc.take(reinterpret_cast<const uint8_t*>(source.at(idx)), true);
    }
    dim_value(acc, &out[static_cast<size_t>(l) * n]);
  }
  return out;
}

}  // namespace fz

namespace fz {

namespace {

int32_t units_of(uint32_t int_len) { return int_len < 32 ? int_len / 8 : int_len / 32; }

void rotate(int32_t* v, int d) {
  const int32_t moved = v[d - 1];
  for (int k = d - 1; k > 0; --k) v[k] = v[k - 1];
  v[0] = moved;
}

}  // namespace

int32_t model_presum(bool array_result, const ArrayDescriptor* result, const ArrayDescriptor* source,
                     const int32_t* dim, const ArrayDescriptor* mask, bool allocation_fails,
                     SetupFields& f, bool& res_base_written) {
  res_base_written = false;
  const int n = static_cast<int>(source->flags >> F90_FLAG_RANK_SHIFT);
  const int32_t units = units_of((source->type_word >> 12) & 0xfff);
  f.src_base = static_cast<char*>(source->base);
  f.src_rank = n;
  for (int i = 0; i < n; ++i) {
    f.src_extent[i] = source->dim[i].extent;
    f.src_stride[i] = units > 0 ? source->dim[i].stride / units : 0;
  }
  f.dim_present = dim != nullptr;
  if (dim) f.dim_value = *dim;
  f.mask_present = mask != nullptr;
  if (mask) {
    const uint32_t bits = (mask->type_word >> 12) & 0xfff;
    const bool same = static_cast<int>(mask->flags >> F90_FLAG_RANK_SHIFT) == n;
    f.mask_base = f.mask_base2 = static_cast<char*>(mask->base);
    f.mask_bytes = static_cast<int32_t>(bits >> 3);
    for (int i = 0; i < n; ++i) {
      f.mask_extent[i] = same ? mask->dim[i].extent : 1;
      const int32_t s = same ? mask->dim[i].stride : 0;
      f.mask_stride[i] = bits > 32 || (bits > 8 && bits < 32) ? s >> 1 : s;
    }
  }
  f.scalar_result = !array_result;
  if (dim && (*dim < 1 || *dim > n)) return ERR_DIM_RANGE;
  if (!array_result) return 0;
  if (result->flags & F90_FLAG_ASSOC) {
    const int rr = static_cast<int>(result->flags >> F90_FLAG_RANK_SHIFT);
    for (int i = 0; i < rr; ++i) {
      f.res_extent[i] = result->dim[i].extent;
      f.res_stride[i] = units > 0 ? result->dim[i].stride / units : 0;
    }
  } else {
    if (!dim) return ERR_DIM_RANGE;
    f.res_stride[0] = 1;
    uint32_t running = 1;
    for (int k = 0, s = 0; k < n - 1; ++k, ++s) {
      if (s == *dim - 1) ++s;
      f.res_extent[k] = source->dim[s].extent;
      f.res_stride[k] = static_cast<int32_t>(running);
      running *= source->dim[s].extent > 0 ? static_cast<uint32_t>(source->dim[s].extent) : 0u;
    }
    if (allocation_fails && running > 0) return ERR_ALLOC_FAILED;
  }
  res_base_written = true;
  if (dim && *dim != 1) {
    rotate(f.src_extent, *dim);
    rotate(f.src_stride, *dim);
    if (mask) {
      rotate(f.mask_extent, *dim);
      rotate(f.mask_stride, *dim);
    }
    f.dim_value = 1;
  }
  return 0;
}

}  // namespace fz
