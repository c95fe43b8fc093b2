// A small benchmark harness: cases register themselves, each times a body many times and the
// harness prints the median, 99th percentile and maximum in microseconds.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct BenchResult {
    std::string name;
    double median_us = 0, p99_us = 0, max_us = 0;
    int runs = 0;
};

// Times `body` `runs` times (after `warmup` untimed runs) and records the result under `name`.
void bench_measure(const std::string& name, int runs, const std::function<void()>& body, int warmup = 20);

struct BenchRegistrar {
    BenchRegistrar(const char* name, void (*fn)());
};

#define BENCH_CASE(ident)                                    \
    static void ident();                                     \
    static BenchRegistrar ident##_registrar(#ident, &ident); \
    static void ident()

// Prints the statistics of samples measured elsewhere (for example headless::frame_work_us()).
void bench_report(const std::string& name, std::vector<double> samples_us);

// Runs `frame` (one whole frame, cls to flip) `frames` times and reports, as the headless backend
// measured them: the game's work (the frame's work less its drawing calls), the rasterising (the
// drawing calls: the software renderer draws each one as it is made), the present, and the whole
// frame. With rendering off only the whole frame and the game's work (drawing into the draw log).
void bench_frames(const std::string& name, int frames, const std::function<void()>& frame);

// Runs the game's start-up once (the real asset set of the game folder); later calls do nothing.
void bench_start_up();
