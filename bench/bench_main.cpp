// cinder-arc-bench [FILTER]: runs every registered case (or those whose name contains FILTER) on
// the headless backend from the game folder, and prints one line per measurement.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bench.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"

namespace {

std::vector<std::pair<const char*, void (*)()>>& cases() {
    static std::vector<std::pair<const char*, void (*)()>> list;
    return list;
}

double at(std::vector<double>& v, double p) {
    size_t i = size_t(p * double(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

}  // namespace

BenchRegistrar::BenchRegistrar(const char* name, void (*fn)()) { cases().emplace_back(name, fn); }

void bench_report(const std::string& name, std::vector<double> us) {
    if (us.empty()) return;
    std::sort(us.begin(), us.end());
    std::printf("%-58s runs %6zu  median %9.2f us  p99 %9.2f us  max %9.2f us\n", name.c_str(), us.size(),
                at(us, 0.5), at(us, 0.99), us.back());
    std::fflush(stdout);
}

void bench_measure(const std::string& name, int runs, const std::function<void()>& body, int warmup) {
    for (int i = 0; i < warmup; ++i) body();
    std::vector<double> us;
    us.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        body();
        auto t1 = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    bench_report(name, std::move(us));
}

void bench_frames(const std::string& name, int frames, const std::function<void()>& frame) {
    const size_t before = headless::frame_work_us().size();
    bench_measure(name + ": whole frame", frames, frame, 0);
    const std::vector<double>& work = headless::frame_work_us();
    const std::vector<double>& raster = headless::frame_raster_us();
    const std::vector<double>& present = headless::frame_present_us();
    std::vector<double> game;
    for (size_t i = before; i < work.size(); ++i) game.push_back(work[i] - raster[i]);
    bench_report(name + ": game work", std::move(game));
    if (!headless::render_enabled()) return;  // nothing was rasterised or presented
    bench_report(name + ": rasterising", std::vector<double>(raster.begin() + long(before), raster.end()));
    bench_report(name + ": present", std::vector<double>(present.begin() + long(before), present.end()));
}

void bench_start_up() {
    static bool done = false;
    if (done) return;
    done = true;
    auto t0 = std::chrono::steady_clock::now();
    start_up();
    auto t1 = std::chrono::steady_clock::now();
    std::printf("%-58s %9.2f ms\n", "start-up, headless (no window, no sound device)",
                std::chrono::duration<double, std::milli>(t1 - t0).count());
}

int main(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : "";
    // The cases load the real asset set: run from the game folder beside this program's folder.
    std::filesystem::path game = std::filesystem::path(argv[0]).parent_path() / ".." / "game";
    std::error_code ec;
    std::filesystem::current_path(game, ec);
    if (ec) {
        std::fprintf(stderr, "cinder-arc-bench: %s: %s\n", game.string().c_str(), ec.message().c_str());
        return 1;
    }
    if (!engine_init(Backend::headless)) return 1;
    for (auto& [name, fn] : cases())
        if (std::strstr(name, filter)) fn();
    engine_shutdown();
    return 0;
}
