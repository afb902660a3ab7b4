#include "system/process/HeapSetting.h"

namespace tarq::SystemValuesUtility {

// The system's allocator makes no heap per thread.
void shareOneHeapAcrossThreads() {}

}  // namespace tarq::SystemValuesUtility
