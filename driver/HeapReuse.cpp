#include "HeapReuse.h"

#include <malloc.h>

namespace routelle::driver {

// 16 MB: more than any one block a run of the driver holds (the status menu of
// ten thousand rules is a few megabytes in all).
void keepLargeBlocksInTheHeap() { mallopt(M_MMAP_THRESHOLD, 16 << 20); }

}  // namespace routelle::driver
