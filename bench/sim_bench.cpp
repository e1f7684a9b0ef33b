// The simulator's cost: a full in-process scan of the fourteen types on the virtual clock, and
// one second of all fourteen sensors measuring.
#include <benchmark/benchmark.h>

#include "discovery/port_scanner.h"
#include "sim_bus.h"
#include "sim_ports.h"

namespace somatrix {
namespace {

void BM_InProcessScan(benchmark::State& state) {
    for (auto _ : state) {
        CVirtualClock clock;
        CSimBus bus(1);
        bus.AddAllSensors();
        CSimPortList ports(clock);
        ports.AddPort(kSimPortName, bus);
        CMonitorSink sink;
        CPortScanner scanner(ports, clock, sink, {}, kProbeWaitMs);
        benchmark::DoNotOptimize(scanner.ScanDevicePorts(CCatalogue()));
    }
}
BENCHMARK(BM_InProcessScan)->Unit(benchmark::kMillisecond);

void BM_AllSensorsOneSecond(benchmark::State& state) {
    CSimBus bus(1);
    bus.AddAllSensors();
    bus.SetRecording(false);
    for (uint8_t t : AllSensorTypes()) {
        const CFrame f = StartRequest(t);
        bus.Write(f.data(), f.size());
    }
    uint64_t now = 0;
    uint8_t sink[4096];
    for (auto _ : state) {
        for (int ms = 0; ms < 1000; ++ms) {
            now += kNsPerMs;
            bus.AdvanceTo(now);
            benchmark::DoNotOptimize(bus.Read(sink, sizeof sink));
        }
    }
}
BENCHMARK(BM_AllSensorsOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace somatrix
BENCHMARK_MAIN();
