// IEEE_SET_FLAG and IEEE_SET_HALTING_MODE with array arguments (FLAG and
// FLAG_VALUE / HALTING descriptors of any rank and strides) against
// kit/ieee_model.h, on simulated x87 words.
// needs: __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS
// needs: __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS
//
// Beyond the model: the elements are paired in array element order whatever
// the two arguments' ranks; a refusal is reported once as 5000 at level 0
// and writes no word; otherwise the word is read once and written once; the
// arguments are only read.
#include <cstring>

#include "f90/ieee.h"
#include "harness.h"
#include "ieee_model.h"
#include "recording_runtime.h"

using namespace fz;

namespace {

enum Routine { kSetFlag, kSetFlagOne, kSetHalting, kRoutines };

FlagWords pick_flag(Rng& rng) {
  const int32_t bit = kExceptionBits[rng.below(5)];
  switch (rng.below(8)) {
    case 0: return {static_cast<int32_t>(rng.next()), static_cast<int32_t>(rng.next())};
    case 1: return {bit, kExceptionBits[rng.below(5)]};  // the two words differ
    case 2: return {0x02, 0x02};                         // the denormal bit: no exception
    default: return {bit, bit};
  }
}

// Stores make() into every element, then reads the elements back in array
// element order (a repeated element, stride 0, holds the last value stored).
template <class T, class Make>
std::vector<T> store_all(const FArray& a, Make make) {
  for (int64_t k = 0; k < a.count; ++k) {
    const T v = make();
    Arena::unpoison(a.at_linear(k), sizeof v);
    std::memcpy(a.at_linear(k), &v, sizeof v);
  }
  std::vector<T> out;
  for (int64_t k = 0; k < a.count; ++k) {
    T v;
    std::memcpy(&v, a.at_linear(k), sizeof v);
    out.push_back(v);
  }
  return out;
}

Shape other_shape(FDP& in, const Shape& s, int64_t count) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return s;
    case 1: return vector_shape(static_cast<int32_t>(count));
    case 2: return pick_shape(in, 1, 7, 16);
    default: {
      // Same count, another arrangement: count x 1 x ...
      Shape t = pick_shape(in, 1, 7, 1);
      t.extent[0] = static_cast<int32_t>(count);
      for (int i = 1; i < t.rank; ++i) t.extent[i] = 1;
      return t;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const Routine routine = static_cast<Routine>(in.ConsumeIntegralInRange<int>(0, kRoutines - 1));

  const Shape fs = pick_shape(in, 1, 7, 16);
  FArray flag = place_array(in, Elem::derived_words(2), fs, kArgLayout);
  const std::vector<FlagWords> flags = store_all<FlagWords>(flag, [&] { return pick_flag(rng); });

  FArray value;
  std::vector<int32_t> values;
  int32_t* one = nullptr;
  if (routine == kSetFlagOne) {
    one = int_arg(rng.below(3) == 0 ? static_cast<int32_t>(rng.next()) : static_cast<int32_t>(rng.below(2)));
  } else {
    const Shape vs = other_shape(in, fs, flag.count);
    value = place_array(in, Elem::numeric(TYPE_LOGICAL, 4), vs, kArgLayout);
    values = store_all<int32_t>(value, [&] {
      return rng.below(4) == 0 ? static_cast<int32_t>(rng.next()) : static_cast<int32_t>(rng.below(2));
    });
    open(value);
  }
  open(flag);
  const int32_t cw = static_cast<int32_t>(in.ConsumeIntegral<uint16_t>());
  const int32_t sw = static_cast<int32_t>(in.ConsumeIntegral<uint16_t>());
  f90test::Fpu::simulate(cw, sw);
  trace_descriptor("FLAG", flag.desc);
  trace_descriptor("VALUE", routine == kSetFlagOne ? nullptr : value.desc);

  IeeeOutcome want;
  const char* what;
  arena.snapshot();
  switch (routine) {
    case kSetFlag:
      what = "IEEE_SET_FLAG (arrays)";
      want = model_set_flag(sw, flags, values, nullptr);
      __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.desc, value.desc);
      break;
    case kSetFlagOne:
      what = "IEEE_SET_FLAG (one value)";
      want = model_set_flag(sw, flags, values, one);
      __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.desc, one);
      break;
    default:
      what = "IEEE_SET_HALTING_MODE (arrays)";
      want = model_set_halting(cw, flags, values);
      __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(flag.desc, value.desc);
      break;
  }
  arena.check_unchanged();
  FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "%s: allocated", what);
  const auto& reports = f90test::Runtime::reports();
  if (want.refused) {
    FZ_CHECK(reports.size() == 1 && reports[0].level == 0 && reports[0].number == 5000,
             "%s: expected one report 0:5000, got %zu", what, reports.size());
    FZ_CHECK(f90test::Fpu::writes() == 0, "%s: wrote an x87 word after a refusal", what);
  } else {
    FZ_CHECK(reports.empty(), "%s: reported %d:%d", what, reports.empty() ? 0 : reports[0].level,
             reports.empty() ? 0 : reports[0].number);
    FZ_CHECK(f90test::Fpu::writes() == 1, "%s: %d word writes, expected 1", what, f90test::Fpu::writes());
  }
  const int32_t got_cw = f90test::Fpu::cw(), got_sw = f90test::Fpu::sw();
  const int32_t want_cw = routine == kSetHalting ? want.word : cw;
  const int32_t want_sw = routine == kSetHalting ? sw : want.word;
  FZ_CHECK(got_cw == want_cw && got_sw == want_sw,
           "%s: control word 0x%04x status word 0x%04x, expected 0x%04x 0x%04x", what, got_cw, got_sw,
           want_cw, want_sw);
  arena.end();
  return 0;
}
