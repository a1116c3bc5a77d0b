// Sorting 100,000 result rows by a count column: the tournament sort against the plain scan.
#include <atomic>
#include <random>

#include <benchmark/benchmark.h>

#include "engine/sort_order.h"

namespace {

class NullObserver final : public kordel::engine::SortObserver {
public:
    void SetStatus(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
    void SetProgress(int) override {}
    void SwapRows(std::size_t a, std::size_t b) override { benchmark::DoNotOptimize(a + b); }
};

std::vector<std::uint64_t> Keys(std::size_t n) {
    std::mt19937 random(7);
    std::vector<std::uint64_t> keys(n);
    for (auto& key : keys) key = random() % 5000;  // line counts: many ties
    return keys;
}

void TournamentSort(benchmark::State& state) {
    const auto keys = Keys(static_cast<std::size_t>(state.range(0)));
    NullObserver observer;
    std::atomic<int> canc{0};
    for (auto _ : state)
        benchmark::DoNotOptimize(kordel::engine::SortResults(keys, state.range(1) == 1, canc, observer));
}
BENCHMARK(TournamentSort)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

// The scan of the whole unsorted part on every pass, for comparison.
void PlainScanSort(benchmark::State& state) {
    const auto original = Keys(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto keys = original;
        for (std::size_t pass = 0; pass < keys.size(); ++pass) {
            std::size_t chosen = pass;
            for (std::size_t r = pass + 1; r < keys.size(); ++r)
                if (keys[r] > keys[chosen]) chosen = r;
            std::swap(keys[chosen], keys[pass]);
        }
        benchmark::DoNotOptimize(keys.data());
    }
}
BENCHMARK(PlainScanSort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
