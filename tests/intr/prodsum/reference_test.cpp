// Every whole-array entry against a naive reference that takes the same terms
// in the same order (bit-exact): random shapes of rank 0 to 7 (some empty),
// sections with negative strides, MASKs of every width, conforming or scalar.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "recording_runtime.h"
#include "sums.h"

namespace {

using f90test::ElemType;
using f90test::TestArray;
using namespace sums;
using Index = std::vector<int64_t>;

std::mt19937 rng(20240921);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// The runs of terms in the routines' order: array element order in runs
// along dimension 1, or row by row for a masked rank-2 source.
std::vector<std::vector<Index>> term_runs(const std::vector<int32_t>& ext, bool masked) {
  std::vector<std::vector<Index>> runs;
  for (int32_t e : ext)
    if (e < 1) return runs;
  if (ext.empty()) return {{Index{}}};
  if (masked && ext.size() == 2) {
    for (int64_t i = 0; i < ext[0]; ++i) {
      runs.emplace_back();
      for (int64_t j = 0; j < ext[1]; ++j) runs.back().push_back({i, j});
    }
    return runs;
  }
  f90test::for_each_index({ext.begin() + 1, ext.end()}, [&](const Index& outer) {
    runs.emplace_back();
    for (int64_t i = 0; i < ext[0]; ++i) {
      Index at{i};
      at.insert(at.end(), outer.begin(), outer.end());
      runs.back().push_back(at);
    }
  });
  return runs;
}

Bytes reference(const Entry& e, TestArray& a, TestArray* m) {
  const auto runs = term_runs(a.extents(), m != nullptr);
  const ElemType t = a.type();
  const bool prod = e.product;
  auto each = [&](auto&& term, auto&& end_run) {
    for (const auto& run : runs) {
      for (const Index& at : run)
        if (sums::mask_truth(m, at)) term(a.at(at));
      end_run();
    }
  };
  if (t.code() == TYPE_INTEGER) {
    uint64_t acc = prod;
    each([&](const char* p) {
      uint64_t x = 0;
      std::memcpy(&x, p, t.bytes());
      const int sh = 64 - 8 * static_cast<int>(t.bytes());
      x = static_cast<uint64_t>(static_cast<int64_t>(x << sh) >> sh);
      acc = prod ? acc * x : acc + x;
    }, [] {});
    const int sh = 64 - 8 * static_cast<int>(t.bytes());
    const int64_t v = static_cast<int64_t>(acc << sh) >> sh;
    return t.bytes() == 8 ? bytes_of(v) : bytes_of(static_cast<int32_t>(v));
  }
  if (t.code() == TYPE_REAL && t.bytes() <= 8) {
    long double acc = prod;
    each([&](const char* p) {
      const long double x = t.bytes() == 4 ? load_bytes<float>(p) : load_bytes<double>(p);
      acc = prod ? acc * x : acc + x;
    }, [] {});
    return bytes_of(acc, 10);
  }
  if (t.code() == TYPE_COMPLEX && t.bytes() <= 16) {
    const bool single = t.bytes() == 8;
    long double re = prod, im = 0;
    each([&](const char* p) {
      const long double a = single ? load_bytes<float>(p) : load_bytes<double>(p);
      const long double b = single ? load_bytes<float>(p + 4) : load_bytes<double>(p + 8);
      if (!prod) {
        re = re + a;
        im = im + b;
        return;
      }
      const long double p1 = im * b, p2 = re * a, p3 = re * b, nre = p2 - p1, p4 = im * a;
      im = p3 + p4;
      re = nre;
    }, [&] {
      re = single ? rounded<float>(re) : rounded<double>(re);
      im = single ? rounded<float>(im) : rounded<double>(im);
    });
    if (single) return bytes_of(std::array<float, 2>{float(re), float(im)});
    return bytes_of(std::array<double, 2>{double(re), double(im)});
  }
  DD acc[2] = {{double(prod), 0}, {0, 0}};
  const bool z = t.bytes() == 32;
  each([&](const char* p) {
    const DD c = load_bytes<DD>(p), d = z ? load_bytes<DD>(p + 16) : DD{};
    DD t1, t2, t3, t5;
    if (!z) {
      prod ? _morvex_qmul(&t1, acc[0], c) : _morvex_qadd(&t1, acc[0], c);
      acc[0] = t1;
    } else if (!prod) {
      _morvex_qadd(&acc[0], acc[0], c);
      _morvex_qadd(&acc[1], acc[1], d);
    } else {
      _morvex_qmul(&t1, acc[1], d);
      _morvex_qmul(&t2, acc[0], c);
      _morvex_qmul(&t3, acc[0], d);
      _morvex_qsub(&acc[0], t2, t1);
      _morvex_qmul(&t5, c, acc[1]);
      _morvex_qadd(&acc[1], t3, t5);
    }
  }, [] {});
  return z ? bytes_of(acc) : bytes_of(acc[0]);
}

TEST(WholeReference, RandomShapesSectionsAndMasks) {
  f90test::RuntimeScope scope;
  for (int iter = 0; iter < 150; ++iter) {
    const int rank = pick(0, 7);
    std::vector<int32_t> ext, lower, step;
    for (int i = 0; i < rank; ++i) {
      ext.push_back(pick(0, 15) == 0 ? 0 : pick(1, rank > 4 ? 2 : 4));
      lower.push_back(pick(-2, 2));
      const int32_t steps[] = {-2, -1, 1, 1, 2};
      step.push_back(steps[pick(0, 4)]);
    }
    const int mask_kind = pick(0, 2);  // none, conforming, scalar
    const int mbytes = 1 << pick(0, 3);
    std::unique_ptr<TestArray> mask;
    if (mask_kind) {
      mask = mask_kind == 1 ? std::make_unique<TestArray>(ElemType::logical(mbytes), ext, lower, step)
                            : std::make_unique<TestArray>(ElemType::logical(mbytes), std::vector<int32_t>{});
      for (int64_t k = 0; k < mask->size(); ++k) {  // LOGICAL*8: sometimes the high word only
        const uint64_t v = pick(0, 2) ? 0 : mbytes == 8 && pick(0, 1) ? 1ull << 40 : 1;
        std::memcpy(mask->at_linear(k), &v, mbytes);
      }
    }
    for (const Entry& e : entries()) {
      TestArray a(e.type, ext, lower, step);
      sums::random_fill(a, e.product, rng);
      const Bytes want = reference(e, a, mask.get());
      const Bytes got = e.call(a.desc(), nullptr, mask ? mask->desc() : nullptr);
      ASSERT_EQ(got, want) << e.name << " rank " << rank << " mask " << mask_kind << "/" << mbytes
                           << " iteration " << iter;
    }
  }
  EXPECT_TRUE(f90test::Runtime::reports().empty());
}

}  // namespace
