// A count of the allocations of working memory that failed, in every
// thread of the process.  An export that cannot have its working memory
// answers as it always has (the empty result, the text as it was), which
// its caller cannot tell from a real answer; a face whose engine must
// report a want of memory (SQL) compares the count before and after its
// call.  Another thread's failure in between makes that call report one
// too: a statement then fails where it might have stood, never the other
// way round.
#pragma once

#include <cstdint>

namespace twinekit {

uint32_t AllocationFailures();
void NoteAllocationFailure();

}  // namespace twinekit
