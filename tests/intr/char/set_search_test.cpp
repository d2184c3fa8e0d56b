// The string passes behind SCAN and VERIFY, each instruction set this CPU
// has, against a naive membership model: lengths around the 16- and 32-byte
// steps, stops in every position of a step, codes 0-255, strings against a
// guard page on either side.
#include "char/set_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "guard_page.h"

namespace {

using f90::chars::Byte;
using f90::chars::Isa;
using f90::chars::Stop;

uint32_t model(bool back, const std::string& s, const std::string& set, Stop stop) {
  const uint32_t n = static_cast<uint32_t>(s.size());
  for (uint32_t k = 0; k < n; ++k) {
    const uint32_t i = back ? n - 1 - k : k;
    const bool member = set.find(s[i]) != std::string::npos;
    if (member == (stop == Stop::in_set)) return i + 1;
  }
  return 0;
}

TEST(SetSearchPasses, EveryIsaAgreesWithModel) {
  std::vector<Isa> isas = {Isa::scalar};
  if (f90::chars::best_isa() >= Isa::ssse3) isas.push_back(Isa::ssse3);
  if (f90::chars::best_isa() >= Isa::avx2) isas.push_back(Isa::avx2);
  std::mt19937 rng(2501);
  for (int round = 0; round < 3000; ++round) {
    // A set of distinct codes; the string mostly from one side of it, with
    // a few bytes from the other side at random places.
    std::string set;
    const int setlen = static_cast<int>(rng() % 24);
    while (static_cast<int>(set.size()) < setlen) {
      const char c = static_cast<char>(rng() % 256);
      if (set.find(c) == std::string::npos) set += c;
    }
    const bool inside = !set.empty() && rng() % 2 == 0;
    std::string s(rng() % 100, '\0');
    for (char& c : s) {
      if (inside) {
        c = set[rng() % set.size()];
      } else {
        do c = static_cast<char>(rng() % 256);
        while (set.find(c) != std::string::npos);
      }
    }
    for (int k = static_cast<int>(rng() % 3); k > 0 && !s.empty(); --k)
      s[rng() % s.size()] = static_cast<char>(rng() % 256);
    const f90::chars::SetBits bits(reinterpret_cast<const Byte*>(set.data()),
                                   static_cast<uint32_t>(set.size()));
    for (f90test::GuardSide side : {f90test::GuardSide::after, f90test::GuardSide::before}) {
      f90test::GuardedBuffer g(s.size(), side);
      if (!s.empty()) std::memcpy(g.data(), s.data(), s.size());
      const Byte* p = static_cast<const Byte*>(g.data());
      for (Isa isa : isas)
        for (bool back : {false, true})
          for (Stop stop : {Stop::in_set, Stop::outside_set})
            ASSERT_EQ(f90::chars::find_stop(isa, back, p, static_cast<uint32_t>(s.size()), bits, stop),
                      model(back, s, set, stop))
                << "isa " << static_cast<int>(isa) << " back " << back << " round " << round
                << " len " << s.size();
    }
  }
}

}  // namespace
