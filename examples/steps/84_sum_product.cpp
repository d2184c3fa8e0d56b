// Step 84: SUM and PRODUCT of whole arrays, as compiled code calls them: a
// REAL*8 ledger with a MASK, an INTEGER*2 checksum that wraps, a COMPLEX*16
// product of rotations through a result address, and a REAL*4 sum handed
// back at extended precision.
#include <cmath>
#include <cstdint>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"


namespace {

// A contiguous rank-1 descriptor; strides in bytes below 32 bits, else words.
ArrayDescriptor vector_of(void* base, uint32_t type_code, uint32_t bits, int32_t n) {
  const int32_t unit = bits < 32 ? static_cast<int32_t>(bits / 8) : static_cast<int32_t>(bits / 32);
  return {base, bits, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(type_code, bits, 0, 0),
          nullptr, 0, {{1, n, unit}}};
}

}  // namespace

DEMO_STEP(84, "SUM and PRODUCT of whole arrays") {
  // A ledger: amounts of one year, credits positive.
  double amount[12] = {1200.5, -310.25, 89.99, -1500, 2400, -75.5,
                       310,    -42.42,  999.99, -18,  64.5, -2000};
  int32_t credit[12];  // LOGICAL*4 MASK: amount > 0
  for (int i = 0; i < 12; ++i) credit[i] = amount[i] > 0;
  ArrayDescriptor ledger = vector_of(amount, TYPE_REAL, 64, 12);
  ArrayDescriptor credits = vector_of(credit, TYPE_LOGICAL, 32, 12);
  std::printf("SUM(amount) = %.2f   SUM(amount, MASK=amount > 0) = %.2f\n",
              static_cast<double>(_SUM0_S(&ledger, nullptr, nullptr)),
              static_cast<double>(_SUM0_S(&ledger, nullptr, &credits)));

  // Compound growth: PRODUCT of twelve monthly factors.
  double factor[12];
  for (int i = 0; i < 12; ++i) factor[i] = 1.0 + 0.004 * (i % 3);
  ArrayDescriptor growth = vector_of(factor, TYPE_REAL, 64, 12);
  std::printf("PRODUCT(factor) = %.9f\n", static_cast<double>(_PROD0_S(&growth, nullptr, nullptr)));

  // An INTEGER*2 checksum wraps modulo 2^16 and comes back sign-extended.
  int16_t word[5] = {30000, 20000, 10000, 5000, 1};
  ArrayDescriptor words = vector_of(word, TYPE_INTEGER, 16, 5);
  std::printf("SUM of INTEGER*2 (30000, 20000, 10000, 5000, 1) = %d\n",
              _SUM0_I2(&words, nullptr, nullptr));

  // Eight rotations by 45 degrees multiply to one full turn.
  double turn[16];
  for (int k = 0; k < 8; ++k) {
    turn[2 * k] = std::cos(M_PI / 4);
    turn[2 * k + 1] = std::sin(M_PI / 4);
  }
  ArrayDescriptor rotations = vector_of(turn, TYPE_COMPLEX, 128, 8);
  Complex16 z;
  _PROD0_C(&z, &rotations, nullptr, nullptr);
  std::printf("PRODUCT of eight 45-degree rotations = (%.15f, %.1e)\n", z.re, z.im);

  // REAL*4 terms summed in the x87 register: 1 + 2^-24 + 2^-24 keeps both
  // small terms; adding in REAL*4 one term at a time would lose them.
  float tiny[3] = {1.0f, 0x1p-24f, 0x1p-24f};
  ArrayDescriptor small = vector_of(tiny, TYPE_REAL, 32, 3);
  volatile float by_term = tiny[0];
  by_term = by_term + tiny[1];
  by_term = by_term + tiny[2];
  std::printf("SUM((1.0, 2^-24, 2^-24)) = %.9f (REAL*4 term by term: %.9f)\n",
              static_cast<double>(_SUM0_S4(&small, nullptr, nullptr)), static_cast<double>(by_term));
}
