// REPEAT: ncopies copies of src, one after the other from the start of dst,
// as many whole copies as fit in len_dst bytes.
//
// The product ncopies x len_src is formed in 64 bits: in 32 bits it can wrap
// to a small value, pass the "fits" test and then write far past dst. When
// it exceeds len_dst the count becomes len_dst / len_src. The result is
// len_src times the number of copies made; the bytes of dst past it are left
// as they were.
//
// A negative ncopies stores nothing and returns the product, which is
// negative; a product below -2^31 returns INT32_MIN, so the result never
// turns into a positive length.
#include <cstdint>

#include "chars/bytes.h"
#include "char/character.h"

using namespace morvex::chars;

int32_t _morvex_repeat(const char* src_, int32_t ncopies, char* dst_, int32_t len_src,
                       int32_t len_dst) {
  const Byte* src = reinterpret_cast<const Byte*>(src_);
  Byte* dst = reinterpret_cast<Byte*>(dst_);
  const uint32_t ls = span(len_src), ld = span(len_dst);
  const int64_t product = int64_t{ncopies} * ls;
  if (product < 0) return product < INT32_MIN ? INT32_MIN : static_cast<int32_t>(product);
  if (ls == 0) return 0;
  const uint32_t copies =
      product > ld ? ld / ls : static_cast<uint32_t>(ncopies);
  if (ls == 1) {
    fill(dst, copies, src[0]);
  } else {
    for (uint32_t k = 0; k < copies; ++k) copy_up(dst + k * ls, src, ls);
  }
  return static_cast<int32_t>(copies * ls);
}
