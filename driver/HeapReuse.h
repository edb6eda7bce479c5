#pragma once

namespace routelle::driver {

// Large blocks come from the heap, where what a run frees serves what it
// allocates next. Every page a process touches for the first time costs a
// fault, on a virtual machine about ten microseconds each; by default a block
// of more than 128 KB gets a mapping of its own that goes back to the system
// when freed, so a list growing to a few hundred kilobytes faults its pages in
// anew at every step. Called first thing in main.
void keepLargeBlocksInTheHeap();

}  // namespace routelle::driver
