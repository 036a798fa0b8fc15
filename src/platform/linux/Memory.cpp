#include "platform/Memory.h"

#include <malloc.h>

namespace jb {

void ReleaseFreeMemory() { malloc_trim(0); }

}  // namespace jb
