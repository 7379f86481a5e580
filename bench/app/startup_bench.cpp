// Process start to first painted window (offscreen), the Vornik window against the same window
// without its TarvexButtons, run alternately in one process so both see the same machine state.
// Counters: time to first paint and peak resident memory of each, and their ratios.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ChildRun {
    double secondsToFirstPaint = 0;
    long peakRssKiB = 0;
};

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::vector<char*> OffscreenEnvironment(std::vector<std::string>& storage) {
    storage.clear();
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) storage.emplace_back(*e);
    }
    storage.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> pointers;
    for (std::string& s : storage) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `program`, reads the first-paint moment it prints and collects its peak memory.
ChildRun RunOnce(const char* program) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> storage;
    std::vector<char*> env = OffscreenEnvironment(storage);
    char* argv[] = {const_cast<char*>(program), nullptr};

    const long long start = MonotonicNanoseconds();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        throw std::runtime_error(std::string("cannot start ") + program);
    }
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
    close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        output.empty()) {
        throw std::runtime_error(std::string(program) + " did not paint and exit cleanly");
    }
    ChildRun run;
    run.secondsToFirstPaint = static_cast<double>(std::stoll(output) - start) / 1e9;
    run.peakRssKiB = usage.ru_maxrss;
    return run;
}

void BM_FirstPaint(benchmark::State& state, const char* program) {
    for (auto _ : state) {
        const ChildRun run = RunOnce(program);
        state.SetIterationTime(run.secondsToFirstPaint);
        state.counters["peak_rss_KiB"] = static_cast<double>(run.peakRssKiB);
    }
}

// Alternating runs; ratios of the totals (time) and of the largest peaks (memory).
void BM_FirstPaintRatio(benchmark::State& state) {
    double vornikSeconds = 0, bareSeconds = 0;
    long vornikRss = 0, bareRss = 0;
    for (auto _ : state) {
        const ChildRun bare = RunOnce(BARE_FIRST_PAINT);
        const ChildRun vornik = RunOnce(VORNIK_FIRST_PAINT);
        bareSeconds += bare.secondsToFirstPaint;
        vornikSeconds += vornik.secondsToFirstPaint;
        bareRss = std::max(bareRss, bare.peakRssKiB);
        vornikRss = std::max(vornikRss, vornik.peakRssKiB);
        state.SetIterationTime(vornik.secondsToFirstPaint);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["vornik_ms"] = vornikSeconds / runs * 1e3;
    state.counters["bare_ms"] = bareSeconds / runs * 1e3;
    state.counters["time_ratio"] = vornikSeconds / bareSeconds;
    state.counters["vornik_rss_KiB"] = static_cast<double>(vornikRss);
    state.counters["bare_rss_KiB"] = static_cast<double>(bareRss);
    state.counters["rss_ratio"] = static_cast<double>(vornikRss) / static_cast<double>(bareRss);
}

}  // namespace

BENCHMARK_CAPTURE(BM_FirstPaint, vornik, VORNIK_FIRST_PAINT)->UseManualTime()->Iterations(20);
BENCHMARK_CAPTURE(BM_FirstPaint, bare_window, BARE_FIRST_PAINT)->UseManualTime()->Iterations(20);
BENCHMARK(BM_FirstPaintRatio)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
