// The CPU features libf90elem chooses its code paths by, read once when the
// library is loaded (a constant-initialised false until then: the portable
// path).
#include "x87_trunc.h"

namespace x87 {

bool g_have_fisttp = false;

namespace {

[[gnu::constructor]] void detect_cpu_features() { g_have_fisttp = cpu_has_fisttp(); }

}  // namespace

}  // namespace x87
