// The character routines of libf90intr (LEN_TRIM, SCAN, VERIFY in every
// form and wrapper, REPEAT, TRIM and the character-argument converter)
// against kit/character_model.h, with strings against a guard page and
// lengths of every sign, up to the limits of the result size.
// needs: _LEN_TRIM_ _LEN_TRIM_4_ _LEN_TRIM_8_ _F90_LEN_TRIM_ _F90_LEN_TRIM_4_ _F90_LEN_TRIM_8_
// needs: _SCAN _SCAN_4 _SCAN_8 _F90_SCAN _F90_SCAN_4 _F90_SCAN_8
// needs: _VERIFY _VERIFY_4 _VERIFY_8 _F90_VERIFY _F90_VERIFY_4 _F90_VERIFY_8
// needs: _REPEAT _F90_REPEAT _TRIM __mx_CARG_S
//
// Results beyond the model: REPEAT with NCOPIES < 0 reports 1414 and gives
// the datum {0, 0}; NCOPIES 0 or an empty string gives {0, 0} and leaves the
// rest of the descriptor. A result that already has storage is reported
// (1220) and replaced. A size above 2^31 - 1 bytes (REPEAT's NCOPIES x len,
// the converter's len + 1) and a failed allocation report 1205, allocate
// nothing, copy nothing and leave an empty unassociated result (datum
// {0, 0}, alloc words 0), as an empty TRIM does. alloc_size counts bytes
// (REPEAT, converter) or bits (TRIM).
#include <climits>
#include <cstring>

#include "character_model.h"
#include "f90/character.h"
#include "harness.h"
#include "recording_runtime.h"

using namespace fz;

namespace {

// A string of `len` bytes (none when len < 1) against a guard page, bytes
// drawn from a small alphabet with blanks, or any byte.
char* place_string(FDP& in, int64_t len, Rng& rng, const char* alphabet) {
  const size_t n = len > 0 ? static_cast<size_t>(len) : 0;
  char* p = Arena::instance().block(n, 1, 0x5C);
  Arena::unpoison(p, n);
  const bool any_byte = in.ConsumeIntegralInRange<int>(0, 3) == 0;
  const uint32_t blanks = in.ConsumeIntegralInRange<uint32_t>(0, 3);
  for (size_t i = 0; i < n; ++i) {
    char c = any_byte ? static_cast<char>(rng.next()) : alphabet[rng.below(static_cast<uint32_t>(std::strlen(alphabet)))];
    if (rng.below(4) < blanks) c = ' ';
    p[i] = c;
  }
  // Trailing blanks, often.
  if (n > 0 && in.ConsumeBool()) {
    for (size_t i = n - 1 - rng.below(static_cast<uint32_t>(n)); i < n; ++i) p[i] = ' ';
  }
  if (n == 0 && in.ConsumeBool()) return nullptr;  // an empty string may have any address
  return p;
}

int32_t pick_length(FDP& in, int32_t small_max) {
  switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: return 0;
    case 1: return -1;
    case 2: return INT32_MIN;
    case 3: return in.ConsumeIntegralInRange<int32_t>(INT32_MIN, -2);
    default: return in.ConsumeIntegralInRange<int32_t>(1, small_max);
  }
}

const int32_t* back_arg(FDP& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return nullptr;
    case 1: return int_arg(0);
    case 2: return int_arg(1);
    default: return int_arg(static_cast<int32_t>(in.ConsumeIntegral<uint32_t>() | 0x100));
  }
}

// A rank-0 CHARACTER result descriptor: unassociated, or (1220) holding
// storage already.
ArrayDescriptor* char_result(FDP& in, bool& had_assoc) {
  ArrayDescriptor* d = Arena::instance().descriptor(0, 0xDEAD0000u | in.ConsumeIntegral<uint16_t>());
  had_assoc = in.ConsumeIntegralInRange<int>(0, 7) == 0;
  d->flags = (in.ConsumeBool() ? (in.ConsumeIntegral<uint32_t>() & 0x1ffffffeu) : 0) |
             (had_assoc ? F90_FLAG_ASSOC : 0u);
  d->type_word = TYPE_CHARACTER | (8u << 12);
  return d;
}

uint32_t word(const std::vector<uint8_t>& b, int i) {
  uint32_t v;
  std::memcpy(&v, &b[4 * i], 4);
  return v;
}

// The six words of a character result after the call.
void check_char_result(const char* what, ArrayDescriptor* d, const std::vector<uint8_t>& before,
                       int64_t bytes, uint32_t alloc_size, bool assoc_after, bool datum_only,
                       const std::string& content, bool refused = false) {
  const std::vector<uint8_t> now = descriptor_bytes(d, 0);
  void* storage = refused ? nullptr : check_allocation(what, bytes, false);
  const uint32_t addr = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(storage));
  FZ_CHECK(word(now, 0) == addr, "%s: datum address 0x%08x, expected 0x%08x", what, word(now, 0), addr);
  FZ_CHECK(word(now, 1) == static_cast<uint32_t>(bytes > 0 ? bytes : 0), "%s: datum length %u, expected %lld",
           what, word(now, 1), static_cast<long long>(bytes > 0 ? bytes : 0));
  FZ_CHECK(word(now, 3) == word(before, 3), "%s: type word changed", what);
  if (datum_only) {
    for (int i = 2; i < 6; ++i) {
      if (i == 3) continue;
      FZ_CHECK(word(now, i) == word(before, i), "%s: word %d changed (0x%08x -> 0x%08x)", what, i,
               word(before, i), word(now, i));
    }
    return;
  }
  const uint32_t flags = (word(before, 2) & ~F90_FLAG_ASSOC) | (assoc_after ? F90_FLAG_ASSOC : 0u);
  FZ_CHECK(word(now, 2) == flags, "%s: flags 0x%08x, expected 0x%08x", what, word(now, 2), flags);
  FZ_CHECK(word(now, 4) == addr, "%s: alloc_base 0x%08x, expected 0x%08x", what, word(now, 4), addr);
  FZ_CHECK(word(now, 5) == alloc_size, "%s: alloc_size %u, expected %u", what, word(now, 5), alloc_size);
  if (storage != nullptr) {
    FZ_CHECK(std::memcmp(storage, content.data(), content.size()) == 0, "%s: result bytes differ",
             what);
  }
}

enum Routine { kLenTrim, kScan, kVerify, kRepeat, kTrim, kCarg, kRoutines };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();
  Rng rng(in.ConsumeIntegral<uint64_t>());
  const Routine routine = static_cast<Routine>(in.ConsumeIntegralInRange<int>(0, kRoutines - 1));
  const int form = in.ConsumeIntegralInRange<int>(0, 5);  // which of the six forms
  static const char kAlphabet[] = "ab c\tAB\x7f\x80\xff";

  if (routine == kLenTrim || routine == kScan || routine == kVerify) {
    const int32_t len = pick_length(in, 300);
    const char* s = place_string(in, len, rng, kAlphabet);
    if (routine == kLenTrim) {
      arena.snapshot();
      int64_t got;
      switch (form % 6) {
        case 0: got = _LEN_TRIM_(s, len); break;
        case 1: got = _LEN_TRIM_4_(s, len); break;
        case 2: got = _LEN_TRIM_8_(s, len); break;
        case 3: got = _F90_LEN_TRIM_(s, len); break;
        case 4: got = _F90_LEN_TRIM_4_(s, len); break;
        default: got = _F90_LEN_TRIM_8_(s, len); break;
      }
      verify_untouched("LEN_TRIM", {});
      const int64_t want = model_len_trim(s, len);
      FZ_CHECK(got == want, "LEN_TRIM form %d of length %d: %lld, expected %lld", form, len,
               static_cast<long long>(got), static_cast<long long>(want));
      arena.end();
      return 0;
    }
    const int32_t setlen = pick_length(in, 12);
    const char* set = place_string(in, setlen, rng, kAlphabet);
    const int32_t* back = back_arg(in);
    arena.snapshot();
    const bool v = routine == kVerify;
    int64_t got;
    switch (form) {
      case 0: got = v ? _VERIFY(s, len, set, setlen, back) : _SCAN(s, len, set, setlen, back); break;
      case 1: got = v ? _VERIFY_4(s, len, set, setlen, back) : _SCAN_4(s, len, set, setlen, back); break;
      case 2: got = v ? _VERIFY_8(s, len, set, setlen, back) : _SCAN_8(s, len, set, setlen, back); break;
      case 3: got = v ? _F90_VERIFY(s, set, back, len, setlen) : _F90_SCAN(s, set, back, len, setlen); break;
      case 4: got = v ? _F90_VERIFY_4(s, set, back, len, setlen) : _F90_SCAN_4(s, set, back, len, setlen); break;
      default: got = v ? _F90_VERIFY_8(s, set, back, len, setlen) : _F90_SCAN_8(s, set, back, len, setlen); break;
    }
    verify_untouched(v ? "VERIFY" : "SCAN", {});
    const int64_t want = model_search(v, s, len, set, setlen, back != nullptr && *back != 0);
    FZ_CHECK(got == want, "%s form %d (len %d, setlen %d): %lld, expected %lld", v ? "VERIFY" : "SCAN",
             form, len, setlen, static_cast<long long>(got), static_cast<long long>(want));
    arena.end();
    return 0;
  }

  // The routines with a character result.
  int32_t len;
  int32_t ncopies = 0;
  if (routine == kRepeat) {
    len = pick_length(in, 64);
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: ncopies = 0; break;
      case 1: ncopies = in.ConsumeIntegralInRange<int32_t>(INT32_MIN, -1); break;
      case 2: ncopies = in.ConsumeIntegralInRange<int32_t>(0x7fffffff / 65, INT32_MAX); break;  // beyond 2^31 - 1 bytes when len > 64
      default: ncopies = in.ConsumeIntegralInRange<int32_t>(1, 300); break;
    }
    // A product above 2^31 - 1 bytes with a short string: the string is real.
    if (len > 0 && int64_t{len} * ncopies > 4000000 && int64_t{len} * ncopies <= 0x7fffffff) ncopies = 3;
  } else if (routine == kCarg) {
    len = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? INT32_MAX : pick_length(in, 300);
  } else {
    len = pick_length(in, 300);
  }
  // A string the routine may read: only when it can copy it.
  const bool huge = routine == kCarg && len == INT32_MAX;
  const char* s = huge ? reinterpret_cast<const char*>(arena.block(0, 1, 0x5C))
                       : place_string(in, len, rng, kAlphabet);
  bool had_assoc = false;
  ArrayDescriptor* d = char_result(in, had_assoc);
  const bool fail_alloc = arm_allocation_failure(in);
  const int32_t* nc = int_arg(ncopies);
  arena.snapshot();
  const std::vector<uint8_t> before = descriptor_bytes(d, 0);
  const int64_t ls = len > 0 ? len : 0;

  const char* what = routine == kRepeat ? "REPEAT" : routine == kTrim ? "TRIM" : "CARG";
  switch (routine) {
    case kRepeat: if (form % 2) _F90_REPEAT(d, s, nc, len); else _REPEAT(d, s, len, nc); break;
    case kTrim: _TRIM(d, s, len); break;
    default: __mx_CARG_S(d, s, len); break;
  }
  arena.mark_output(d);
  arena.check_unchanged();

  std::vector<int32_t> reports;
  std::string content;
  int64_t bytes = 0;        // the datum's length and the allocation
  uint32_t alloc_size = 0;
  bool datum_only = false;  // only words 0-1 written
  if (routine == kRepeat) {
    if (ncopies < 0) {
      reports = {ERR_REPEAT_NEGATIVE};
      datum_only = true;
    } else if (ncopies == 0 || ls == 0) {
      datum_only = true;
    } else {
      if (had_assoc) reports.push_back(ERR_RESULT_ALLOCATED);
      bytes = int64_t{ncopies} * ls;
      if (bytes <= 0x7fffffff) {
        for (int32_t k = 0; k < ncopies; ++k) content.append(s, static_cast<size_t>(ls));
      }
      alloc_size = static_cast<uint32_t>(bytes);
    }
  } else if (routine == kTrim) {
    if (had_assoc) reports.push_back(ERR_RESULT_ALLOCATED);
    bytes = model_len_trim(s, len);
    content.assign(s, static_cast<size_t>(bytes));
    alloc_size = static_cast<uint32_t>(bytes * 8);
  } else {
    if (had_assoc) reports.push_back(ERR_RESULT_ALLOCATED);
    bytes = ls + 1;
    if (!huge) content.assign(s, static_cast<size_t>(ls));
    content.push_back('\0');
    alloc_size = static_cast<uint32_t>(bytes);
  }
  // Refused or failed storage: an empty, unassociated result.
  if (bytes > 0x7fffffff || (bytes > 0 && fail_alloc)) {
    reports.push_back(ERR_ALLOC_FAILED);
    check_reports(what, reports);
    FZ_CHECK(f90test::Runtime::allocations().empty(), "%s: storage obtained after a refusal", what);
    check_char_result(what, d, before, 0, 0, false, false, "", true);
    arena.end();
    return 0;
  }
  check_reports(what, reports);
  check_char_result(what, d, before, bytes, bytes > 0 ? alloc_size : 0, bytes > 0, datum_only, content);
  arena.end();
  return 0;
}
