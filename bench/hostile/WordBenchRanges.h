// How the Word shapes grow: 1,024 to 16,384 units, doubling, fitted to a line.
#pragma once
#include <benchmark/benchmark.h>

inline void DoublingToSixteenThousand(benchmark::internal::Benchmark* b) {
  b->RangeMultiplier(2)->Range(1 << 10, 1 << 14)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}
