// The error reporter. Every message is one line on stderr:
//   "f90: error 1405 (level 4): DIM argument out of range"
// Level 0 (IEEE conflicts and unsupported modes) returns to the caller.
// Level 4 (argument and allocation errors of the intrinsics) and any other
// level ends the program with exit status 2, as a fatal run-time error.
#include <cstdio>
#include <cstdlib>

#include "f90/messages.h"
#include "f90/runtime.h"
#include "symbols.h"

namespace {

const char* message_text(int number) {
  switch (number) {
    case ERR_ALLOC_FAILED: return "cannot allocate storage for an intrinsic's result";
    case ERR_RESULT_ALLOCATED: return "character result is already allocated";
    case ERR_UNSUPPORTED_TYPE: return "element type not supported by this intrinsic";
    case ERR_DIM_RANGE: return "DIM argument out of range";
    case ERR_MATMUL_RANK: return "MATMUL operands have invalid ranks";
    case ERR_MATMUL_SHAPE: return "MATMUL operands do not conform";
    case ERR_RESHAPE_SOURCE_SHORT: return "RESHAPE SOURCE too small and PAD absent or empty";
    case ERR_RESHAPE_NEGATIVE_SHAPE: return "RESHAPE SHAPE has a negative element";
    case ERR_NOT_PRESENT: return "pointer or allocatable argument is not associated or allocated";
    case ERR_REPEAT_NEGATIVE: return "REPEAT NCOPIES is negative";
    case ERR_NEAREST_ZERO: return "NEAREST S argument is zero";
    case ERR_RESHAPE_ORDER: return "RESHAPE ORDER is not a permutation of (1, ..., n)";
    case ERR_TRANSFER_ZERO_MOLD: return "TRANSFER MOLD has zero-length elements";
    case ERR_RESHAPE_EMPTY_SHAPE: return "RESHAPE SHAPE has size zero";
    case ERR_UNPACK_VECTOR_SHORT: return "UNPACK VECTOR has fewer elements than MASK has true values";
    case ERR_IEEE_CONFLICT: return "IEEE arguments conflict or differ in size";
    case ERR_IEEE_UNDERFLOW_MODE: return "IEEE underflow mode cannot be queried or set";
    default: return "unknown run-time error";
  }
}

}  // namespace

F90_API void _lerror(int32_t level, int32_t number) {
  std::fprintf(stderr, "f90: error %d (level %d): %s\n", static_cast<int>(number),
               static_cast<int>(level), message_text(number));
  if (level != ERR_LEVEL_IEEE) {
    std::fflush(stderr);
    std::exit(2);
  }
}
