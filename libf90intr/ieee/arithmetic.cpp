// The IEEE_ARITHMETIC module: its data and the equality operators on
// IEEE_CLASS_TYPE and IEEE_ROUND_TYPE (one word each: equal words, equal
// values).
#include "ieee/arithmetic.h"

using namespace f90::ieee;

const int32_t ieee_arithmetic_data[16] = {
    kSignalingNan, kQuietNan,     kNegativeInf,     kNegativeNormal, kNegativeDenormal, kNegativeZero,
    kPositiveZero, kPositiveDenormal, kPositiveNormal, kPositiveInf, kOtherValue,
    kNearest,      kToZero,       kUp,              kDown,           kOtherRounding,
};

F90_API void IEEE_ARITHMETIC(void) {}

F90_API int32_t class_eqv(const int32_t* a, const int32_t* b)
    F90_SYMBOL(__CLASSTYPEEQV_in_IEEE_ARITHMETIC);
F90_API int32_t class_neqv(const int32_t* a, const int32_t* b)
    F90_SYMBOL(__CLASSTYPENEQV_in_IEEE_ARITHMETIC);
F90_API int32_t round_eqv(const int32_t* a, const int32_t* b)
    F90_SYMBOL(__ROUNDTYPEEQV_in_IEEE_ARITHMETIC);
F90_API int32_t round_neqv(const int32_t* a, const int32_t* b)
    F90_SYMBOL(__ROUNDTYPENEQV_in_IEEE_ARITHMETIC);

int32_t class_eqv(const int32_t* a, const int32_t* b) { return logical(*a == *b); }
int32_t class_neqv(const int32_t* a, const int32_t* b) { return logical(*a != *b); }
int32_t round_eqv(const int32_t* a, const int32_t* b) { return logical(*a == *b); }
int32_t round_neqv(const int32_t* a, const int32_t* b) { return logical(*a != *b); }
