// What the CPU running the library can do beyond the instructions it was
// compiled for, asked once and remembered.
#pragma once

namespace twinekit {

// Whether the CPU has SSSE3 (byte shuffles by a table in a register).
bool CpuHasSsse3();

}  // namespace twinekit
