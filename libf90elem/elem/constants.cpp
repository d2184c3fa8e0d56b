// The error-value constants of libf90elem: NaN, infinity and maximum of
// REAL*4 and REAL*8, exported so compiled code and the library's own
// functions return the same bits. FLOAT_MAX is half the largest finite
// single (0x7effffff), not FLT_MAX: programs rely on that value.
#include "constants.h"

#include <bit>
#include <cstdint>

const float _morvex_FLOAT_NAN = std::bit_cast<float>(0x7fc00000u);
const double _morvex_DOUBLE_NAN = std::bit_cast<double>(0x7ff8000000000000ull);
const float _morvex_FLOAT_INF = std::bit_cast<float>(0x7f800000u);
const double _morvex_DOUBLE_INF = std::bit_cast<double>(0x7ff0000000000000ull);
const float _morvex_FLOAT_MAX = std::bit_cast<float>(0x7effffffu);
const double _morvex_DOUBLE_MAX = std::bit_cast<double>(0x7fefffffffffffffull);
