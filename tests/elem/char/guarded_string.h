// Strings for the character tests, placed so that stray accesses show:
// a source ends right before an inaccessible page, so reading one byte past
// it faults; a destination also ends at the guard page and has a few marker
// bytes in front of it, so a store before it is seen.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "guard_page.h"

namespace chartest {

class GuardedSource {
 public:
  explicit GuardedSource(std::string_view s) : buf_(s.size()) {
    if (!s.empty()) std::memcpy(buf_.data(), s.data(), s.size());
  }
  const char* p() const { return static_cast<const char*>(buf_.data()); }
  int len() const { return static_cast<int>(buf_.size()); }

 private:
  f90test::GuardedBuffer buf_;
};

class GuardedDest {
 public:
  static constexpr size_t kFront = 4;
  static constexpr char kMark = '#';
  // `len` bytes, all set to `fill`, with kFront marker bytes before them.
  explicit GuardedDest(size_t len, char fill = '.') : buf_(len + kFront) {
    std::memset(buf_.data(), kMark, kFront);
    std::memset(p(), fill, len);
  }
  char* p() const { return static_cast<char*>(buf_.data()) + kFront; }
  int len() const { return static_cast<int>(buf_.size() - kFront); }
  std::string str() const { return std::string(p(), buf_.size() - kFront); }
  // The byte just before the destination (where strcasgn keeps its length).
  unsigned char before() const { return static_cast<unsigned char>(p()[-1]); }
  // The first n marker bytes (counted from the one furthest from dst) are intact.
  bool front_intact(size_t n = kFront) const {
    for (size_t i = 0; i < n; ++i)
      if (static_cast<const char*>(buf_.data())[i] != kMark) return false;
    return true;
  }

 private:
  f90test::GuardedBuffer buf_;
};

}  // namespace chartest
