// Compiling one form of the kernels for its instruction set, whatever the
// rest of the library is compiled for.
//
// A form file includes what it needs first, then puts its code between
// TK_TARGET_BEGIN("isa,...") and TK_TARGET_END, inside a namespace of its
// own.  Every function defined in between, the templates of the shared
// kernel bodies it includes there among them, is compiled for that
// instruction set, so the intrinsics inline; nothing outside is, so no
// inline function of a shared header is ever compiled with instructions
// that a CPU running another form may lack.
#pragma once

#define TK_PRAGMA(x) _Pragma(#x)

#if defined(__clang__)
#define TK_TARGET_BEGIN(isa) \
  TK_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define TK_TARGET_END TK_PRAGMA(clang attribute pop)
#else
#define TK_TARGET_BEGIN(isa) TK_PRAGMA(GCC push_options) TK_PRAGMA(GCC target(isa))
#define TK_TARGET_END TK_PRAGMA(GCC pop_options)
#endif
