#pragma once
// Memory freed in bulk (a long list emptied or refilled, a report's pages closed) goes back to the
// system. The C library keeps what threads free for their next allocations; after a list of a hundred
// thousand lines that is a hundred megabytes the office's machine can no longer use, and the next long
// piece of work (printing the register) adds its own on top. Giving it back takes the allocator's locks
// for tens of milliseconds, so it waits until the window has been quiet a while: done between two keys
// of a filter it would stall the second.

namespace parcelon {

// Gives what is free back to the system now.
void returnFreedMemory();
// The same on a pooled worker thread once no bulk free has been asked for during kQuietMs (at once
// without an application). Callable from any thread.
void returnFreedMemoryLater();

inline constexpr int kFreedMemoryQuietMs = 2000;

} // namespace parcelon
