#pragma once
// The process's memory as the system sees it.

namespace jb {

// Hands memory the program has freed back to the system. The allocator
// keeps freed blocks for reuse, so after a large structure is replaced (a
// scan's catalogue and tree) the process would otherwise stay at its peak.
void ReleaseFreeMemory();

}  // namespace jb
