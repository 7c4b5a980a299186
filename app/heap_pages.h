// How the process asks the system for memory. A run over a large table
// touches tens of megabytes once each; in a virtual machine every 4 KiB page
// touched for the first time costs a fault of several microseconds, which
// came to a third of such a run's time.
#ifndef STIMSEL_APP_HEAP_PAGES_H_
#define STIMSEL_APP_HEAP_PAGES_H_

// Call once, first thing in main. Keeps every allocation in the heap (none
// mapped on its own, none given back while the run lasts) and grows the heap
// in one large step that the kernel may back with 2 MiB pages, so that a run
// faults a few dozen times instead of ten thousand (past its first
// megabytes, which small runs touch alone). Only glibc on Linux is
// told; elsewhere, and when the system refuses, memory stays as it was.
void useLargeHeapPages();

#endif  // STIMSEL_APP_HEAP_PAGES_H_
