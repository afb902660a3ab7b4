#include "system/process/HeapSetting.h"

namespace tarq {

// The system's allocator makes no heap per thread.
void shareOneHeapAcrossThreads() {}

}  // namespace tarq
