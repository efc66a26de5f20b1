// Benchmarks of the destination button, loaded as the shipped module and driven through
// its factory and callback. Each benchmark also reports the heap allocations one
// operation makes ("allocs/op"); the program first prints what a configured component
// holds in memory.
#include "allocation_counter.h"
#include "bench_setup.h"

#include <zarn_script_helper/record_builders.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Heap allocations per iteration, counted over the whole run.
class AllocationsPerOp {
public:
    explicit AllocationsPerOp(benchmark::State& state) : state_(state), start_(heapUse()) {}
    ~AllocationsPerOp() {
        const double operations = static_cast<double>(state_.iterations()) * perIteration_;
        state_.counters["allocs/op"] =
            operations > 0
                ? static_cast<double>(heapUse().allocations - start_.allocations) / operations
                : 0.0;
    }
    void operationsPerIteration(double count) { perIteration_ = count; }

private:
    benchmark::State& state_;
    HeapUse start_;
    double perIteration_ = 1;
};

void BM_RevertiveMatching(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    OwnedRevertive revertive(2, 33, "MIC 4");
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        component->callback(revertive.record(), zarn_kind_revertive);
    }
    if (std::strcmp(host.last(), "TP 'text=MIC 4' '1' 'Aud'") != 0) {
        state.SkipWithError("the revertive did not reach the tally");
    }
}
BENCHMARK(BM_RevertiveMatching);

void BM_RevertiveNotMatching(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    OwnedRevertive revertive(2, 34, "MIC 5");
    const long long before = host.commands;
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        component->callback(revertive.record(), zarn_kind_revertive);
    }
    if (host.commands != before) {
        state.SkipWithError("a revertive for another destination sent something");
    }
}
BENCHMARK(BM_RevertiveNotMatching);

// The practical limit: the same TP text built by hand into a stack buffer and sent to the
// same host.
void BM_BaselineHandBuiltCommand(benchmark::State& state) {
    BenchHost host;
    zarn_client_callback* target = &host;
    benchmark::DoNotOptimize(target);
    OwnedRevertive revertive(2, 33, "MIC 4");
    const RevertiveRecord* record = revertive.record();
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(record);
        if (record->device == 2 && record->index == 33) {
            char text[256];
            const std::size_t length = std::strlen(record->text);
            std::memcpy(text, "TP 'text=", 9);
            std::memcpy(text + 9, record->text, length);
            std::memcpy(text + 9 + length, "' '1' 'Aud'", 12);
            target->callback(text, zarn_kind_host_command);
        }
    }
    if (std::strcmp(host.last(), "TP 'text=MIC 4' '1' 'Aud'") != 0) {
        state.SkipWithError("the baseline built another text");
    }
}
BENCHMARK(BM_BaselineHandBuiltCommand);

void BM_ParentCommandChangingNothing(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    const long long before = host.commands;
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        sendParent(*component, "destination_id=12");
    }
    if (host.commands != before) {
        state.SkipWithError("the same text sent something");
    }
}
BENCHMARK(BM_ParentCommandChangingNothing);

void BM_ParentCommandDestinationChange(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    host.answer("RN 7 1 13", "Studio 13");
    host.answer("RN 8 1 13", "18,34");
    AllocationsPerOp allocations(state);
    allocations.operationsPerIteration(2);
    for (auto _ : state) {
        sendParent(*component, "destination_id=13");
        sendParent(*component, "destination_id=12");
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ParentCommandDestinationChange);

void BM_ParentCommandReturnAll(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        sendParent(*component, "return=all");
    }
}
BENCHMARK(BM_ParentCommandReturnAll);

void BM_ButtonRelease(benchmark::State& state) {
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    OwnedControlEvent release("1", "Button", "button=released");
    AllocationsPerOp allocations(state);
    for (auto _ : state) {
        component->callback(release.record(), zarn_kind_control_event);
    }
    if (std::strcmp(host.last(), "HN 'select=12'") != 0) {
        state.SkipWithError("the release did not notify the parent");
    }
}
BENCHMARK(BM_ButtonRelease);

// A router salvo: 10,000 revertives spread over the destinations of N buttons, each
// delivered to the button registered for it, as the host does.
void BM_Salvo(benchmark::State& state) {
    const int buttons = static_cast<int>(state.range(0));
    constexpr int revertives = 10000;
    BenchHost host;
    std::vector<Component> components;
    for (int i = 0; i < buttons; ++i) {
        components.push_back(configured(host, 100 + i, 1 + i, 1001 + i));
    }
    std::vector<std::unique_ptr<OwnedRevertive>> salvo;
    std::vector<zarn_client_callback*> targets;
    for (int k = 0; k < revertives; ++k) {
        const int button = k % buttons;
        const bool audio = (k / buttons) % 2 == 0;
        salvo.push_back(std::make_unique<OwnedRevertive>(
            audio ? 2 : 1, audio ? 1001 + button : 1 + button, "SRC " + std::to_string(k % 32)));
        targets.push_back(components[button].get());
    }
    const long long before = host.commands;
    AllocationsPerOp allocations(state);
    allocations.operationsPerIteration(revertives);
    for (auto _ : state) {
        for (int k = 0; k < revertives; ++k) {
            targets[k]->callback(salvo[k]->record(), zarn_kind_revertive);
        }
    }
    if (host.commands - before != state.iterations() * revertives) {
        state.SkipWithError("not every revertive reached its tally");
    }
    state.SetItemsProcessed(state.iterations() * revertives);
    state.counters["ns/revertive"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * revertives,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Salvo)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

// What one configured button holds: its object, and the heap its texts use.
void printMemory() {
    BenchHost host;
    answerTables(host, 12, 17, 33);
    const HeapUse start = heapUse();
    Component button(benchModule().create(&host, ""));
    const HeapUse created = heapUse();
    configure(*button, 12);
    const long long objectBytes = created.liveBytes() - start.liveBytes();
    const long long configuredBytes = heapUse().liveBytes() - start.liveBytes();
    std::printf("memory per configured button: object %lld bytes, heap beyond the object %lld "
                "bytes, %lld in all\n",
                objectBytes, configuredBytes - objectBytes, configuredBytes);
}

} // namespace

int main(int argc, char** argv) {
    if (!benchModule().loaded()) {
        std::fprintf(stderr, "%s\n", benchModule().error().c_str());
        return 1;
    }
    printMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
