// What the benchmarks share: the clock, the best of several timed runs, the
// report line, plain file reading, and message boxes that print instead of
// waiting for a click.
#pragma once

#include "platform/msgbox.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Best of rounds runs of f, in milliseconds.
template <class F>
double Best(int rounds, F&& f)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, Ms(t0, Clock::now()));
    }
    return best;
}

// The first size bytes of the file, read with plain stdio; aborts when it is shorter.
inline std::vector<char> ReadPlain(const std::string& path, std::size_t size)
{
    std::vector<char> in(size);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (std::fread(in.data(), 1, in.size(), f) != in.size())
        std::abort();
    std::fclose(f);
    return in;
}

// Message boxes go to stderr and answer OK.
inline void PrintMessageBoxes()
{
    SetMessageBoxHandler([](const std::string& text, unsigned) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return int(IDOK);
    });
}

// One measurement's line: name, ours against the base it is compared with, and a note.
inline void Report(const char* name, double ours, double base, const char* note = "")
{
    std::printf("%s ratio=%.3g ours_ms=%.4g base_ms=%.4g%s\n", name, ours / base, ours, base, note);
    std::fflush(stdout);
}

[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "benchmark: %s\n", what);
    std::abort();
}
