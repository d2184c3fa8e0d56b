// Reference model of the IEEE procedures with array arguments: the status
// word after IEEE_SET_FLAG, the control word after IEEE_SET_HALTING_MODE,
// or a refusal.
#pragma once

#include <cstdint>
#include <vector>

namespace fz {

// One FLAG element: its control-word and status-word bits.
struct FlagWords {
  int32_t cw_bit;
  int32_t sw_bit;
};

// The five exceptions' bits (divide by zero, overflow, invalid, underflow,
// inexact); an element whose bit is none of these names no exception.
inline constexpr int32_t kExceptionBits[5] = {0x04, 0x08, 0x01, 0x10, 0x20};

struct IeeeOutcome {
  bool refused;  // reported 5000, word not written
  int32_t word;  // the new status (control) word when not refused
};

// IEEE_SET_FLAG(FLAG, FLAG_VALUE) with one value per flag (values.size()
// must equal flags.size(), else refused) or, when `one_value` is given, one
// value for all. An exception named with both values is refused.
IeeeOutcome model_set_flag(int32_t sw, const std::vector<FlagWords>& flags,
                           const std::vector<int32_t>& values, const int32_t* one_value);

// IEEE_SET_HALTING_MODE(FLAG, HALTING): an exception named twice is refused,
// then sizes that differ; else each element in order unmasks (true) or
// masks (false) its exception.
IeeeOutcome model_set_halting(int32_t cw, const std::vector<FlagWords>& flags,
                              const std::vector<int32_t>& halting);

}  // namespace fz
