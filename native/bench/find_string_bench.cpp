// Throughput of FindStringNoCase against glibc's strcasestr and a naive
// nested loop, on the same haystacks and needles.
#include <benchmark/benchmark.h>

#include <strings.h>

#include <cstring>
#include <random>
#include <string>

#include "frame/find_string.h"

namespace {

// Filler never contains 'z'; every needle ends in 'Z', so it matches only
// where it was planted, while its leading letters cause partial matches.
std::string Haystack(std::size_t size, const std::string& planted) {
    std::mt19937 rng(42);
    std::string h(size, ' ');
    for (auto& c : h) c = static_cast<char>('a' + rng() % 25);
    if (!planted.empty()) h.replace(size - planted.size(), planted.size(), planted);
    return h;
}

std::string Needle(std::size_t len) {
    std::mt19937 rng(7);
    std::string n(len, ' ');
    for (auto& c : n) c = static_cast<char>('A' + rng() % 25);
    n.back() = 'Z';
    return n;
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(c | 0x20);
    return s;
}

const char* Naive(const char* h, const char* n) {
    for (; *h; ++h) {
        std::size_t i = 0;
        while (n[i] && h[i] && std::toupper(static_cast<unsigned char>(h[i])) ==
                                   std::toupper(static_cast<unsigned char>(n[i])))
            ++i;
        if (!n[i]) return h;
    }
    return nullptr;
}

template <typename Search>
void Run(benchmark::State& state, Search search) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const auto nlen = static_cast<std::size_t>(state.range(1));
    const bool match = state.range(2) != 0;
    const std::string needle = Needle(nlen);
    const std::string hay = Haystack(size, match ? Lower(needle) : "");
    for (auto _ : state) {
        const char* r = search(hay.c_str(), needle.c_str());
        benchmark::DoNotOptimize(r);
        if ((r != nullptr) != match) state.SkipWithError("wrong answer");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

void Args(benchmark::internal::Benchmark* b) {
    for (long size : {1L << 10, 64L << 10, 1L << 20})
        for (long nlen : {3L, 11L, 64L})
            for (long match : {1L, 0L}) b->Args({size, nlen, match});
}

void BM_FindStringNoCase(benchmark::State& s) {
    Run(s, [](const char* h, const char* n) { return cvi::FindStringNoCase(h, n); });
}
void BM_strcasestr(benchmark::State& s) {
    Run(s, [](const char* h, const char* n) -> const char* { return strcasestr(h, n); });
}
void BM_naive(benchmark::State& s) { Run(s, Naive); }

BENCHMARK(BM_FindStringNoCase)->Apply(Args);
BENCHMARK(BM_strcasestr)->Apply(Args);
BENCHMARK(BM_naive)->Apply(Args);

}  // namespace

BENCHMARK_MAIN();
