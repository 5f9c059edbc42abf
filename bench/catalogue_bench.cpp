// Cost of one lookup, i.e. of one keystroke in the input box: a hit on the last entry, a miss,
// and the empty input. Every case walks all entries.
#include "catalogue/catalogue.h"

#include <benchmark/benchmark.h>

#include <string_view>

namespace {

void Lookup(benchmark::State& state, std::u16string_view input) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        std::u16string_view description = tavrix::FindDescription(input);
        benchmark::DoNotOptimize(description);
    }
}

void BM_FindDescription_LastEntry(benchmark::State& state) { Lookup(state, u"zip"); }
void BM_FindDescription_Miss(benchmark::State& state) { Lookup(state, u"qqq"); }
void BM_FindDescription_Empty(benchmark::State& state) { Lookup(state, u""); }

BENCHMARK(BM_FindDescription_LastEntry);
BENCHMARK(BM_FindDescription_Miss);
BENCHMARK(BM_FindDescription_Empty);

}  // namespace
