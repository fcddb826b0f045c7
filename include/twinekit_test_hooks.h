/*
 * Test hooks of the native TwineKit library.  Only its test variant,
 * libtwinekit_testing.so (CMake target twinekit_testing), defines them: the
 * shipped libtwinekit.so and libtwinekit.a do not, nor do the DLLs.  They let
 * tests count live allocations, make a chosen allocation fail, and fix the
 * clock that seeds the generator.
 *
 * Scratch buffers are the CoTaskMemAlloc blocks an export takes for the
 * duration of a call; BSTRs are every string made by SysAllocStringByteLen
 * or SysAllocStringLen, the caller's own included.
 */
#ifndef TWINEKIT_TEST_HOOKS_H
#define TWINEKIT_TEST_HOOKS_H

#include <stdint.h>

#include "twinekit.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Blocks allocated and not yet freed. */
TK_API int64_t tk_test_live_scratch(void);
TK_API int64_t tk_test_live_bstrs(void);

/* Allocations attempted since the process started (failed ones included). */
TK_API int64_t tk_test_scratch_allocations(void);
TK_API int64_t tk_test_bstr_allocations(void);

/* BSTR allocations that failed, made to fail or for want of memory. */
TK_API int64_t tk_test_bstr_failures(void);

/* Allocations of working memory that failed, as the library counts them
   for the faces that report a want of memory (SQL), in every thread. */
TK_API int64_t tk_test_allocation_failures(void);

/*
 * Make the k-th allocation from now fail (k = 1: the next one).  With
 * persistent non-zero, that allocation and every later one fail.  k <= 0
 * turns the fault off.
 */
TK_API void tk_test_fail_scratch(int64_t k, int persistent);
TK_API void tk_test_fail_bstr(int64_t k, int persistent);

/* Fix the clock at a count of seconds since 1970 (UTC); a negative
   argument gives the real clock back. */
TK_API void tk_test_set_clock(int64_t seconds);

#ifdef __cplusplus
}
#endif

#endif /* TWINEKIT_TEST_HOOKS_H */
