#include "ieee_model.h"

#include <cstddef>

namespace fz {

namespace {

bool is_exception(int32_t bit) {
  for (int32_t b : kExceptionBits) {
    if (b == bit) return true;
  }
  return false;
}

}  // namespace

IeeeOutcome model_set_flag(int32_t sw, const std::vector<FlagWords>& flags,
                           const std::vector<int32_t>& values, const int32_t* one_value) {
  if (!one_value && values.size() != flags.size()) return {true, sw};
  // Per exception: 0 not named, else the value it was named with.
  int named[5] = {};
  for (std::size_t i = 0; i < flags.size(); ++i) {
    const int v = (one_value ? *one_value : values[i]) != 0 ? 1 : -1;
    for (int k = 0; k < 5; ++k) {
      if (flags[i].sw_bit != kExceptionBits[k]) continue;
      if (named[k] == -v) return {true, sw};
      named[k] = v;
    }
  }
  for (int k = 0; k < 5; ++k) {
    if (named[k] > 0) sw |= kExceptionBits[k];
    if (named[k] < 0) sw &= ~kExceptionBits[k];
  }
  return {false, sw};
}

IeeeOutcome model_set_halting(int32_t cw, const std::vector<FlagWords>& flags,
                              const std::vector<int32_t>& halting) {
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (!is_exception(flags[i].cw_bit)) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (flags[j].cw_bit == flags[i].cw_bit) return {true, cw};
    }
  }
  if (halting.size() != flags.size()) return {true, cw};
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (!is_exception(flags[i].cw_bit)) continue;
    cw = halting[i] != 0 ? (cw & ~flags[i].cw_bit) : (cw | flags[i].cw_bit);
  }
  return {false, cw};
}

}  // namespace fz
