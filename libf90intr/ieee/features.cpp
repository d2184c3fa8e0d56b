// The IEEE_FEATURES module: its entry, which does nothing, and its data for
// compiled code that names the module's constants (the eleven
// IEEE_FEATURES_TYPE values, 1 to 11). No procedure reads the data.
#include <cstdint>

#include "symbols.h"

F90_API const int32_t ieee_features_data[11] F90_SYMBOL(_D_in_IEEE_FEATURES);
const int32_t ieee_features_data[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

F90_API void IEEE_FEATURES(void) {}
