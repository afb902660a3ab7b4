#pragma once

namespace tarq::SystemValuesUtility {

// Has every thread of the program allocate from one heap, where the allocator would give each
// thread its own. A pass's threads allocate a few kilobytes each; an arena of their own would be
// mapped and trimmed as each thread starts, changes to the memory map that stall the other
// threads just when the tools are being started. Called at each program's start (the window
// program's as its application starts, before any pass), since it holds for the whole program,
// toolkit included.
void shareOneHeapAcrossThreads();

}  // namespace tarq::SystemValuesUtility
