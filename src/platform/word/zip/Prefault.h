#pragma once
#include <cstddef>
#include <string>

// Reserves room for n bytes in s and has the kernel map the first `expected` of them in one call. A fresh
// page touched one at a time costs a fault each, and on virtual machines those faults are
// the larger part of reading and writing a big part; mapping them together costs half.
// Small sizes, and kernels without the call, just reserve.
void ReservePrefaulted(std::string& s, std::size_t n, std::size_t expected);
inline void ReservePrefaulted(std::string& s, std::size_t n) { ReservePrefaulted(s, n, n); }
