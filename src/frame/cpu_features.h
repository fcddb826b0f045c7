// What the CPU running the library can do beyond the instructions it was
// compiled for, asked once and remembered.
#pragma once

namespace twinekit {

struct CpuFeatures {
  bool sse2 = false;
  bool ssse3 = false;  // byte shuffles by a table in a register
  bool avx2 = false;   // with the system saving the 256-bit registers, POPCNT, BMI1 and BMI2
};

CpuFeatures Cpu();

}  // namespace twinekit
