// The result allocator: storage for array results that passes to the
// caller, who releases it with free(). Blocks are aligned to 8 bytes (every
// element kind's natural alignment on i386); a request for 0 bytes returns a
// valid block of its own so callers can tell it from a failure.
#include <cstdint>
#include <cstdlib>

#include "f90/runtime.h"
#include "symbols.h"

F90_API void* _F90ALLOC(uint32_t bytes, int32_t /*flags*/) {
  void* p = nullptr;
  if (posix_memalign(&p, 8, bytes == 0 ? 1 : bytes) != 0) return nullptr;
  return p;
}
