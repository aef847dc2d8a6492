// main.cpp: each case timed against its floor, in alternating batches of the
// same run, and the table of the results.
//
//   kelzu_bench [--smoke] [--record FILE] [Google Benchmark flags]
//   kelzu_bench --summarize FILE
//
// Google Benchmark's own report goes to standard error; the table and the
// goals go to standard output. --smoke runs only N <= 100, briefly.
// --record also appends each case's result to FILE, a line each;
// --summarize runs nothing and prints the table and the goals of the medians
// of every result FILE holds for a case. Where a process's code and data
// land moves a ratio by up to a tenth from one process to the next, so
// scripts/bench takes the medians of three processes. The exit status is 1
// when a drag step allocated or a case failed to run, 2 for a FILE that
// cannot be read or written.
#include "allocation_counter.h"
#include "cases.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double frameNs = 16.7e6; // one frame at 60 Hz
const std::size_t itemCounts[] = {1, 100, 10000, 100000};

struct Result {
    const Case *c = nullptr;
    std::size_t n = 0;
    bool ran = false;
    double toolNs = 0, floorNs = 0, ratio = 0; // per item per step
    double allocsPerStep = 0, bytesPerStep = 0;
};
std::vector<Result> results;
bool failed = false; // a case could not run

// The thread's processor time in seconds. Other builds share this machine:
// wall time would count the slices the scheduler gives them in the middle
// of a batch; processor time counts only this thread's work.
double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

// Steps per timed batch: enough item-steps that the clock's own cost
// (taken off, but not steady) hardly counts. Steps that create keys stay
// at 64 per batch, so every envelope they append to holds fewer than 64
// keys whatever N is; at N = 1 such a batch is short and less exact.
int batchSize(std::size_t n, Step step) {
    const std::size_t itemSteps = 5000;
    std::size_t b = std::max<std::size_t>(1, itemSteps / n);
    if (step == Step::moveCreated) b = std::min<std::size_t>(b, 64);
    return static_cast<int>(b);
}

// What reading the clock twice costs, taken off every batch.
double clockCost = 0;

void measureClockCost() {
    std::vector<double> costs;
    for (int i = 0; i < 1001; ++i) {
        const double start = cpuNow();
        costs.push_back(cpuNow() - start);
    }
    clockCost = median(costs);
}

void run(benchmark::State &state, const Case &c, std::size_t n, Result &result) {
    Context &ctx = Context::forTool(c.kind);
    ctx.select(n);
    ctx.host.scene.setTime(0.0);
    Stage stage;
    c.setUp(ctx, stage);

    const bool creates = c.step == Step::moveCreated;
    const int batch = batchSize(n, c.step);
    AllocationCount toolAllocations;

    // One batch of steps; a step that creates keys starts from envelopes
    // without keys and moves the clock on by a second each step.
    auto timeBatch = [&](void (*step)(Context &, Stage &, int), bool counted) {
        if (creates) ctx.clearKeys();
        const AllocationWindow window;
        const double start = cpuNow();
        for (int b = 0; b < batch; ++b) {
            if (creates) ctx.host.scene.setTime(b);
            step(ctx, stage, b);
        }
        const double end = cpuNow();
        if (counted) {
            const AllocationCount a = window.since();
            toolAllocations.calls += a.calls;
            toolAllocations.bytes += a.bytes;
        }
        return std::max(end - start - clockCost, 1e-9);
    };

    // Untimed: keys in place for the updated case, arrays at their size,
    // the scene in the caches as far as it fits.
    timeBatch(c.toolStep, false);
    timeBatch(c.floorStep, false);

    // The floor must write what the tool writes: the same number of keys
    // created and values set, and no call the host refuses.
    host::Counters &counters = ctx.host.counters;
    counters.reset();
    timeBatch(c.toolStep, false);
    const host::Counters byTool = counters;
    counters.reset();
    timeBatch(c.floorStep, false);
    const host::Counters byFloor = counters;
    if (byTool.keysCreated != byFloor.keysCreated || byTool.keysReplaced != byFloor.keysReplaced ||
        byTool.valuesWritten != byFloor.valuesWritten || byTool.rejectedCalls != 0 || byFloor.rejectedCalls != 0) {
        const std::string why = "tool and floor differ: keys created " + std::to_string(byTool.keysCreated) + " / " +
                                std::to_string(byFloor.keysCreated) + ", values written " +
                                std::to_string(byTool.valuesWritten) + " / " + std::to_string(byFloor.valuesWritten) +
                                ", refused calls " + std::to_string(byTool.rejectedCalls) + " / " +
                                std::to_string(byFloor.rejectedCalls);
        state.SkipWithError(why.c_str());
        failed = true;
        return;
    }

    std::vector<double> toolTimes, floorTimes, ratios;
    toolTimes.reserve(static_cast<std::size_t>(state.max_iterations));
    floorTimes.reserve(static_cast<std::size_t>(state.max_iterations));
    ratios.reserve(static_cast<std::size_t>(state.max_iterations));
    bool toolFirst = true;
    for (auto _ : state) {
        double toolTime, floorTime;
        // Alternating which side goes first cancels what one leaves in the
        // caches for the other.
        if (toolFirst) {
            toolTime = timeBatch(c.toolStep, true);
            floorTime = timeBatch(c.floorStep, false);
        } else {
            floorTime = timeBatch(c.floorStep, false);
            toolTime = timeBatch(c.toolStep, true);
        }
        toolFirst = !toolFirst;
        state.SetIterationTime(toolTime);
        toolTimes.push_back(toolTime);
        floorTimes.push_back(floorTime);
        ratios.push_back(toolTime / floorTime);
    }

    // Medians: a burst of load from elsewhere on the machine moves a few
    // batches, not the result.
    const double perItem = 1e9 / (static_cast<double>(batch) * static_cast<double>(n));
    const double steps = static_cast<double>(state.iterations()) * batch;
    result.ran = true;
    result.toolNs = median(toolTimes) * perItem;
    result.floorNs = median(floorTimes) * perItem;
    result.ratio = median(ratios);
    result.allocsPerStep = static_cast<double>(toolAllocations.calls) / steps;
    result.bytesPerStep = static_cast<double>(toolAllocations.bytes) / steps;
    state.counters["tool_ns_per_item"] = result.toolNs;
    state.counters["floor_ns_per_item"] = result.floorNs;
    state.counters["ratio"] = result.ratio;
    state.counters["items_per_frame"] = frameNs / result.toolNs;
    state.counters["allocs_per_step"] = result.allocsPerStep;
    state.counters["bytes_per_step"] = result.bytesPerStep;
}

std::string caseLabel(const Case &c) { return std::string(toolName(c.kind)) + " " + stepName(c.step); }

void printTable() {
    std::printf("%-22s %7s %13s %14s %6s %12s %12s\n", "case", "N", "tool ns/item", "floor ns/item", "ratio",
                "items/frame", "allocs/step");
    for (const Result &r : results) {
        if (!r.ran) continue;
        std::printf("%-22s %7zu %13.1f %14.1f %6.2f %12.0f %12.2f\n", caseLabel(*r.c).c_str(), r.n, r.toolNs,
                    r.floorNs, r.ratio, frameNs / r.toolNs, r.allocsPerStep);
    }
}

const Result *find(ToolKind kind, Step step, std::size_t n) {
    for (const Result &r : results)
        if (r.ran && r.c->kind == kind && r.c->step == step && r.n == n) return &r;
    return nullptr;
}

// The goals, each with the cases that miss it. Returns false when a drag
// step allocated: the one goal that no noise excuses.
bool printGoals(bool smoke) {
    bool ratioMet = true, frameMet = true, flatMet = true, allocationMet = true;
    bool ratioSeen = false, frameSeen = false, flatSeen = false;
    std::string misses, allocating;
    for (const Result &r : results) {
        if (!r.ran || !isMove(r.c->step)) continue;
        if (r.allocsPerStep != 0) {
            allocationMet = false;
            allocating += "  " + caseLabel(*r.c) + " N=" + std::to_string(r.n) + " allocates\n";
        }
        if (r.n >= 100) {
            ratioSeen = true;
            if (r.ratio > 1.15) {
                ratioMet = false;
                misses += "  " + caseLabel(*r.c) + " N=" + std::to_string(r.n) + " ratio above 1.15\n";
            }
        }
        if (r.n == 100000) {
            frameSeen = true;
            if (r.toolNs * 100000 > frameNs) {
                frameMet = false;
                misses += "  " + caseLabel(*r.c) + " N=100000 takes longer than a frame\n";
            }
        }
    }
    for (const Case &c : allCases()) {
        if (isMove(c.step)) continue;
        const Result *rs[] = {find(c.kind, c.step, 100), find(c.kind, c.step, 10000), find(c.kind, c.step, 100000)};
        if (!rs[0] || !rs[1] || !rs[2]) continue;
        flatSeen = true;
        // How much the slowest N takes per item over the fastest.
        auto spread = [&rs](double (*of)(const Result &)) {
            double lo = of(*rs[0]), hi = lo;
            for (const Result *r : rs) lo = std::min(lo, of(*r)), hi = std::max(hi, of(*r));
            return hi / lo - 1;
        };
        const double tool = spread([](const Result &r) { return r.toolNs; });
        if (tool > 0.25) {
            flatMet = false;
            // The floor's spread and that of what the tool adds to it tell
            // the host's growth (the scene leaving the caches) from the tool's.
            const double floor = spread([](const Result &r) { return r.floorNs; });
            const double own = spread([](const Result &r) { return r.toolNs - r.floorNs; });
            char text[160];
            std::snprintf(text, sizeof text,
                          " ns/item varies by %.0f %% over N=100..100000 (floor %.0f %%, tool minus floor %.0f %%)\n",
                          tool * 100, floor * 100, own * 100);
            misses += "  " + caseLabel(c) + text;
        }
    }
    auto verdict = [](bool seen, bool met) { return !seen ? "not measured" : met ? "met" : "NOT met"; };
    std::printf("\n");
    if (smoke) {
        // A smoke run is too short, and too small, to judge timings by.
        std::printf("goal: move allocates nothing ..................... %s\n%s", verdict(true, allocationMet),
                    allocating.c_str());
        return allocationMet;
    }
    std::printf("goal: move ratio <= 1.15 for N >= 100 ............ %s\n", verdict(ratioSeen, ratioMet));
    std::printf("goal: move over 100000 items within 16.7 ms ...... %s\n", verdict(frameSeen, frameMet));
    std::printf("goal: down and apply ns/item flat within 25 %% ... %s\n", verdict(flatSeen, flatMet));
    std::printf("goal: move allocates nothing ..................... %s\n", verdict(true, allocationMet));
    std::printf("%s%s", misses.c_str(), allocating.c_str());
    return allocationMet;
}

// One line per case: tool, step, N, tool ns, floor ns, ratio, allocations
// and bytes per step.
bool record(const std::string &path) {
    std::ofstream out(path, std::ios::app);
    for (const Result &r : results)
        if (r.ran)
            out << toolName(r.c->kind) << ' ' << stepName(r.c->step) << ' ' << r.n << ' ' << r.toolNs << ' '
                << r.floorNs << ' ' << r.ratio << ' ' << r.allocsPerStep << ' ' << r.bytesPerStep << '\n';
    return static_cast<bool>(out);
}

// The medians, per case, of the results recorded in `path`, in the order of
// the cases and their N.
bool summarize(const std::string &path) {
    std::ifstream in(path);
    if (!in) return false;
    using Key = std::tuple<std::string, std::string, std::size_t>;
    std::map<Key, std::vector<Result>> recorded;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string tool, step;
        Result r;
        if (!(fields >> tool >> step >> r.n >> r.toolNs >> r.floorNs >> r.ratio >> r.allocsPerStep >> r.bytesPerStep))
            return false;
        recorded[{tool, step, r.n}].push_back(r);
    }
    for (const Case &c : allCases())
        for (std::size_t n : itemCounts) {
            const auto found = recorded.find({toolName(c.kind), stepName(c.step), n});
            if (found == recorded.end()) continue;
            const std::vector<Result> &runs = found->second;
            auto medianOf = [&runs](double Result::*field) {
                std::vector<double> values;
                for (const Result &r : runs) values.push_back(r.*field);
                return median(values);
            };
            Result &r = results.emplace_back();
            r.c = &c;
            r.n = n;
            r.ran = true;
            r.toolNs = medianOf(&Result::toolNs);
            r.floorNs = medianOf(&Result::floorNs);
            r.ratio = medianOf(&Result::ratio);
            double allocations = 0;
            for (const Result &run : runs) allocations = std::max(allocations, run.allocsPerStep);
            r.allocsPerStep = allocations; // any allocation in any run shows
            r.bytesPerStep = medianOf(&Result::bytesPerStep);
        }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    bool smoke = false;
    std::string recordPath, summaryPath;
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--smoke") == 0)
            smoke = true;
        else if (std::strcmp(argv[i], "--record") == 0 && hasValue)
            recordPath = argv[++i];
        else if (std::strcmp(argv[i], "--summarize") == 0 && hasValue)
            summaryPath = argv[++i];
        else
            args.push_back(argv[i]);
    }
    if (!summaryPath.empty()) {
        if (!summarize(summaryPath)) {
            std::fprintf(stderr, "kelzu_bench: cannot read the results in %s\n", summaryPath.c_str());
            return 2;
        }
        std::printf("medians of the runs recorded in %s\n", summaryPath.c_str());
        printTable();
        return printGoals(false) ? 0 : 1;
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    const auto &cases = allCases();
    results.reserve(cases.size() * std::size(itemCounts));
    for (const Case &c : cases)
        for (std::size_t n : itemCounts) {
            if (smoke && n > 100) continue;
            Result &result = results.emplace_back();
            result.c = &c;
            result.n = n;
            const std::string name = std::string(toolName(c.kind)) + "/" + stepName(c.step) + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(name.c_str(), [&c, n, &result](benchmark::State &state) {
                run(state, c, n, result);
            })
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(smoke ? 0.01 : 1.0);
        }

    measureClockCost();
    benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_None);
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    printTable();
    std::printf("\ntimes are this thread's processor time; a clock reading pair (%.0f ns) is taken off each batch\n",
                clockCost * 1e9);
    std::printf("allocations counted in each module's first capture of 64 items (its item array grows):");
    const char *separator = " ";
    for (const CounterCheck &check : counterChecks()) {
        std::printf("%s%s %llu", separator, toolName(check.kind), static_cast<unsigned long long>(check.allocations));
        separator = ", ";
    }
    std::printf("\n");
    const bool allocationMet = printGoals(smoke);
    if (failed) std::printf("some cases failed to run: see the benchmark report above\n");
    if (!recordPath.empty() && !record(recordPath)) {
        std::fprintf(stderr, "kelzu_bench: cannot write the results to %s\n", recordPath.c_str());
        return 2;
    }
    return allocationMet && !failed ? 0 : 1;
}
