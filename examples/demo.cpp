// A small Fortran-style program calling the intrinsic libraries directly,
// the way compiled code does: descriptors built by hand, entry points called
// by their symbols. Each step prints what it computed.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "demo.h"

namespace demo {
namespace {

struct Entry {
  int order;
  const char* title;
  StepFn fn;
};

std::vector<Entry>& steps() {
  static std::vector<Entry> s;
  return s;
}

}  // namespace

Step::Step(int order, const char* title, StepFn fn) { steps().push_back({order, title, fn}); }

}  // namespace demo

int main() {
  auto& s = demo::steps();
  std::sort(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.order < b.order; });
  for (const auto& e : s) {
    std::printf("== %s\n", e.title);
    e.fn();
  }
  std::printf("== done: %zu steps\n", s.size());
  return 0;
}
