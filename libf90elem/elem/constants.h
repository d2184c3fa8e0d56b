// The exported error-value constants, for the library's own functions.
#pragma once

#include "symbols.h"

F90_API const float _morvex_FLOAT_NAN;
F90_API const double _morvex_DOUBLE_NAN;
F90_API const float _morvex_FLOAT_INF;
F90_API const double _morvex_DOUBLE_INF;
F90_API const float _morvex_FLOAT_MAX;
F90_API const double _morvex_DOUBLE_MAX;
