#include "arena.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "check.h"
#include "recording_runtime.h"

namespace fz {

void fail(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::fputs("fuzz check failed: ", stderr);
  std::vfprintf(stderr, fmt, ap);
  std::fputc('\n', stderr);
  va_end(ap);
  __builtin_trap();
}

bool tracing() {
  static const bool on = std::getenv("FZ_TRACE") != nullptr;
  return on;
}

void trace(const char* fmt, ...) {
  if (!tracing()) return;
  va_list ap;
  va_start(ap, fmt);
  std::vfprintf(stderr, fmt, ap);
  va_end(ap);
}

namespace {

char* map_guarded(size_t units, size_t unit_bytes, size_t page) {
  // Each unit is followed by one inaccessible page.
  const size_t stride = unit_bytes + page;
  void* m = mmap(nullptr, units * stride, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                 -1, 0);
  FZ_CHECK(m != MAP_FAILED, "arena mmap failed");
  char* p = static_cast<char*>(m);
  for (size_t i = 0; i < units; ++i) {
    FZ_CHECK(mprotect(p + i * stride + unit_bytes, page, PROT_NONE) == 0, "arena mprotect failed");
  }
  return p;
}

}  // namespace

Arena& Arena::instance() {
  static Arena a;
  return a;
}

Arena::Arena() {
  page_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  slots_ = map_guarded(kSlots, kSlotBytes, page_);
  desc_pages_ = map_guarded(kDescriptorPages, page_, page_);
  for (int i = 0; i < kSlots; ++i) poison(slots_ + i * (kSlotBytes + page_), kSlotBytes);
  for (int i = 0; i < kDescriptorPages; ++i) poison(desc_pages_ + i * 2 * page_, page_);
}

void Arena::poison(const void* p, size_t n) { ASAN_POISON_MEMORY_REGION(p, n); }
void Arena::unpoison(const void* p, size_t n) { ASAN_UNPOISON_MEMORY_REGION(p, n); }

void Arena::begin() {
  for (int i = 0; i < next_slot_; ++i) poison(slots_ + i * (kSlotBytes + page_), kSlotBytes);
  for (int i = 0; i < next_desc_; ++i) poison(desc_pages_ + i * 2 * page_, page_);
  next_slot_ = 0;
  next_desc_ = 0;
  regions_.clear();
  f90test::Runtime::reset();
}

void Arena::end() { f90test::Runtime::reset(); }

char* Arena::block(size_t bytes, size_t align, uint8_t fill) {
  FZ_CHECK(next_slot_ < kSlots, "arena: out of slots");
  FZ_CHECK(bytes <= kSlotBytes - 8, "arena: block of %zu bytes too large", bytes);
  char* slot = slots_ + next_slot_++ * (kSlotBytes + page_);
  char* end = slot + kSlotBytes;
  uintptr_t start = reinterpret_cast<uintptr_t>(end) - bytes;
  start &= ~(uintptr_t{align} - 1);
  char* p = reinterpret_cast<char*>(start);
  // Fill the whole slot tail, so bytes between the block and the guard page
  // carry the pattern too.
  unpoison(p, static_cast<size_t>(end - p));
  std::memset(p, fill, static_cast<size_t>(end - p));
  poison(p, static_cast<size_t>(end - p));
  regions_.push_back({p, static_cast<size_t>(end - p), false, {}});
  return p;
}

ArrayDescriptor* Arena::descriptor(int rank, uint32_t fill) {
  FZ_CHECK(next_desc_ < kDescriptorPages, "arena: out of descriptor pages");
  char* page = desc_pages_ + next_desc_++ * 2 * page_;
  const size_t bytes = 4u * F90_DESCRIPTOR_WORDS(rank);
  char* p = page + page_ - bytes;
  unpoison(p, bytes);
  for (size_t i = 0; i < bytes; i += 4) std::memcpy(p + i, &fill, 4);
  regions_.push_back({p, bytes, false, {}});
  return reinterpret_cast<ArrayDescriptor*>(p);
}

// Reads bytes whether poisoned or not: the sanitizer does not check this
// function, and volatile keeps the loop from becoming an intercepted memcpy.
__attribute__((no_sanitize("address"))) void read_raw(uint8_t* dst, const void* src, size_t n) {
  const volatile char* s = static_cast<const volatile char*>(src);
  for (size_t i = 0; i < n; ++i) dst[i] = static_cast<uint8_t>(s[i]);
}

void Arena::snapshot() {
  for (Region& r : regions_) {
    r.saved.resize(r.bytes);
    read_raw(r.saved.data(), r.start, r.bytes);
  }
}

void Arena::mark_output(const void* p) {
  for (Region& r : regions_) {
    if (r.start <= p && p < r.start + (r.bytes ? r.bytes : 1)) r.output = true;
  }
}

const std::vector<uint8_t>& Arena::recorded(const void* p) const {
  for (const Region& r : regions_) {
    if (r.start <= p && p < r.start + (r.bytes ? r.bytes : 1)) return r.saved;
  }
  fail("arena: no region at %p", p);
}

void Arena::check_unchanged() const {
  std::vector<uint8_t> now;
  for (const Region& r : regions_) {
    if (r.output) continue;
    now.resize(r.bytes);
    read_raw(now.data(), r.start, r.bytes);
    for (size_t i = 0; i < r.bytes; ++i) {
      FZ_CHECK(now[i] == r.saved[i],
               "input byte changed at %p (+%zu of a %zu-byte region): %02x -> %02x",
               static_cast<const void*>(r.start + i), i, r.bytes, r.saved[i], now[i]);
    }
  }
}

}  // namespace fz
