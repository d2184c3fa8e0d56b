#include "expect.h"

#include <cstring>
#include <string>

#include "check.h"
#include "recording_runtime.h"

namespace fz {

DescExpect DescExpect::unchanged(const std::vector<uint8_t>& before, int rank) {
  DescExpect e;
  e.rank = rank;
  for (int i = 0; i < F90_DESCRIPTOR_WORDS(rank); ++i) {
    uint32_t v;
    std::memcpy(&v, &before[4 * i], 4);
    e.exact(i, v);
  }
  return e;
}

ElemsExpect::ElemsExpect(uint32_t elem_bytes, int rank, const int64_t* extent)
    : bytes_(elem_bytes), rank_(rank) {
  for (int i = 0; i < rank; ++i) {
    extent_[i] = extent[i] > 0 ? extent[i] : 0;
    count_ *= extent_[i];
  }
}

void ElemsExpect::make() {
  if (!kind_.empty() || count_ == 0) return;
  kind_.assign(static_cast<size_t>(count_), kKeep);
  data_.assign(static_cast<size_t>(count_ * bytes_), 0);
}

void ElemsExpect::set(int64_t k, const void* p) {
  make();
  kind_[k] = kValue;
  if (bytes_) std::memcpy(&data_[k * bytes_], p, bytes_);
}

void check_descriptor(const char* what, const ArrayDescriptor* d, const DescExpect& e,
                      const void* storage) {
  std::vector<uint8_t> now(4u * F90_DESCRIPTOR_WORDS(e.rank));
  read_raw(now.data(), d, now.size());
  for (int i = 0; i < F90_DESCRIPTOR_WORDS(e.rank); ++i) {
    uint32_t v;
    std::memcpy(&v, &now[4 * i], 4);
    const DescExpect::Word& w = e.w[i];
    if (w.mode == DescExpect::kAny) continue;
    const uint32_t want =
        w.mode == DescExpect::kStorage ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(storage))
                                       : w.value;
    FZ_CHECK(v == want, "%s: result descriptor word %d is 0x%08x, expected 0x%08x", what, i, v,
             want);
  }
}

void check_elements(const char* what, const char* base, const int32_t* stride, uint32_t unit,
                    const ElemsExpect& e, const char* region, const std::vector<uint8_t>& before) {
  std::vector<uint8_t> want = before;
  std::vector<uint8_t> dont_care(before.size(), 0);
  const uint32_t n = e.elem_bytes();
  int64_t idx[F90_MAX_RANK] = {};
  for (int64_t k = 0; k < e.count(); ++k) {
    int64_t off = 0;
    for (int i = 0; i < e.rank(); ++i) off += idx[i] * stride[i];
    const char* p = base + off * unit;
    const int64_t at = p - region;
    if (e.kind(k) != ElemsExpect::kKeep && n > 0) {
      FZ_CHECK(at >= 0 && at + n <= static_cast<int64_t>(before.size()),
               "%s: model element %lld lies outside the result's storage", what,
               static_cast<long long>(k));
      if (e.kind(k) == ElemsExpect::kValue) {
        std::memcpy(&want[at], e.value(k), n);
      } else {
        std::memset(&dont_care[at], 1, n);
      }
    }
    for (int i = 0; i < e.rank(); ++i) {
      if (++idx[i] < e.extent(i)) break;
      idx[i] = 0;
    }
  }
  std::vector<uint8_t> now(before.size());
  read_raw(now.data(), region, now.size());
  for (size_t i = 0; i < now.size(); ++i) {
    if (dont_care[i] || now[i] == want[i]) continue;
    // Name the element when the byte belongs to one.
    std::string where = "outside every result element";
    int64_t idx2[F90_MAX_RANK] = {};
    for (int64_t k = 0; k < e.count() && n > 0; ++k) {
      int64_t off = 0;
      for (int d = 0; d < e.rank(); ++d) off += idx2[d] * stride[d];
      const int64_t at = base + off * unit - region;
      if (at <= static_cast<int64_t>(i) && static_cast<int64_t>(i) < at + n) {
        where = "in result element " + std::to_string(k) + " byte " + std::to_string(i - at);
        break;
      }
      for (int d = 0; d < e.rank(); ++d) {
        if (++idx2[d] < e.extent(d)) break;
        idx2[d] = 0;
      }
    }
    fail("%s: result byte +%zu (%s) is %02x, expected %02x", what, i, where.c_str(), now[i],
         want[i]);
  }
}

void* check_allocation(const char* what, int64_t bytes, bool zero_optional) {
  const auto& allocs = f90test::Runtime::allocations();
  const int calls = f90test::Runtime::allocation_calls();
  if (bytes <= 0) {
    // Nothing to hold: no request, or (when the routine may ask) one of 0.
    if (zero_optional && calls == 1) {
      FZ_CHECK(allocs.size() == 1 && allocs[0].bytes == 0,
               "%s: a request for %u bytes where 0 were needed", what,
               allocs.empty() ? 0u : allocs[0].bytes);
      return allocs[0].block;
    }
    FZ_CHECK(calls == 0, "%s: %d allocation(s), none expected", what, calls);
    return nullptr;
  }
  FZ_CHECK(calls == 1 && allocs.size() == 1, "%s: %d allocation(s), one of %lld bytes expected",
           what, calls, static_cast<long long>(bytes));
  FZ_CHECK(allocs[0].bytes == static_cast<uint64_t>(bytes),
           "%s: allocated %u bytes, expected %lld", what, allocs[0].bytes,
           static_cast<long long>(bytes));
  return allocs[0].block;
}

void check_reports(const char* what, const Reports& expected) {
  const auto& got = f90test::Runtime::reports();
  std::string g, w;
  for (const auto& r : got) g += std::to_string(r.level) + ":" + std::to_string(r.number) + " ";
  for (const auto& option : expected.options) {
    std::string one;
    for (int32_t n : option) one += "4:" + std::to_string(n) + " ";
    if (one == g) return;
    w += "[" + one + "] ";
  }
  fail("%s: reports [%s], expected %s", what, g.c_str(), w.c_str());
}

void trace_descriptor(const char* name, const ArrayDescriptor* d) {
  if (!tracing()) return;
  if (d == nullptr) {
    trace("%s: absent\n", name);
    return;
  }
  uint32_t flags;
  read_raw(reinterpret_cast<uint8_t*>(&flags), &d->flags, 4);
  const int rank = static_cast<int>(flags >> F90_FLAG_RANK_SHIFT);
  const std::vector<uint8_t> b = descriptor_bytes(d, rank);
  trace("%s (rank %d):", name, rank);
  for (size_t i = 0; i < b.size(); i += 4) {
    uint32_t w;
    std::memcpy(&w, &b[i], 4);
    if (i < 24) {
      trace(" %08x", w);
    } else {
      trace((i - 24) % 12 == 0 ? " | %d" : " %d", static_cast<int32_t>(w));
    }
  }
  trace("\n");
}

std::vector<uint8_t> descriptor_bytes(const ArrayDescriptor* d, int rank) {
  std::vector<uint8_t> v(4u * F90_DESCRIPTOR_WORDS(rank));
  read_raw(v.data(), d, v.size());
  return v;
}

}  // namespace fz
