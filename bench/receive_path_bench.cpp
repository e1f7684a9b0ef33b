// Throughput of the receive path (ring, scanner, dispatch, replies, decoding, extremes) on a long
// mixed stream into a sink that draws nothing, beside a plain memcpy of the same buffer in the
// same run. The line itself carries 11.5 kB/s; this measures headroom and shows that no frame
// costs an allocation.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "protocol/oper_core.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CNullSink : public somatrix::CMonitorSink {};

void AppendFrame(Bytes& out, uint8_t type, uint8_t command, const Bytes& payload, bool corrupt) {
    const somatrix::CFrame f = somatrix::CFrame::Compose(type, command, payload);
    const size_t start = out.size();
    out.insert(out.end(), f.data(), f.data() + f.size());
    if (corrupt) {
        out[start + 3] ^= 0x5A;
    }
}

// About 4 MB of every frame kind, with garbage and bad checksums mixed in.
const Bytes& MixedStream() {
    static const Bytes stream = [] {
        Bytes s;
        std::mt19937 random(12345);
        const uint8_t types[] = {0xC0, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8,
                                 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xB1};
        while (s.size() < (4u << 20)) {
            const uint8_t t = types[random() % std::size(types)];
            const auto kind = random() % 100;
            Bytes payload;
            if (kind < 80) {  // data frame of the type's own size
                const size_t n = t == 0xB1 ? 50 : t == 0xC6 ? 48 : t == 0xC3 ? 4 : 2;
                for (size_t i = 0; i < n; ++i) {
                    payload.push_back(static_cast<uint8_t>(random() & (i % 2 ? 0xFF : 0x07)));
                }
                AppendFrame(s, t, t == 0xCD ? 0x54 : 0xA0, payload, false);
            } else if (kind < 85) {
                AppendFrame(s, t, 0xA2, {1, 2, 3, 4}, false);
            } else if (kind < 88) {
                AppendFrame(s, 0xC0, 0xAC, {0x80, 0x78, 0x00, 0x50, 0x48}, false);
            } else if (kind < 94) {
                AppendFrame(s, t, 0xA0, {0x12, 0x34}, true);  // bad checksum
            } else {
                for (int i = 0; i < 7; ++i) {
                    s.push_back(static_cast<uint8_t>(random()));  // line garbage
                }
            }
        }
        return s;
    }();
    return stream;
}

void BM_ReceivePath(benchmark::State& state) {
    const Bytes& stream = MixedStream();
    const size_t chunk = static_cast<size_t>(state.range(0));
    CNullSink sink;
    somatrix::COperCore core(sink);
    core.Initialise({});
    core.SelectDevice(8);
    core.OnMaxMin(true);
    for (auto _ : state) {
        for (size_t pos = 0; pos < stream.size(); pos += chunk) {
            core.OnComm(stream.data() + pos, std::min(chunk, stream.size() - pos));
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["frames"] = static_cast<double>(core.GetScanStats().m_nFrames);
}
BENCHMARK(BM_ReceivePath)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    const Bytes& stream = MixedStream();
    Bytes copy(stream.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), stream.data(), stream.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// Prints the receive path's rate as a fraction of memcpy's after the usual table.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it == run.counters.end()) {
                continue;
            }
            const std::string name = run.benchmark_name();
            if (name.rfind("BM_Memcpy", 0) == 0) {
                m_dMemcpy = it->second;
            } else {
                m_rates.emplace_back(name, it->second);
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, rate] : m_rates) {
            std::printf("%s: %.0f MB/s, memcpy %.0f MB/s, ratio 1:%.1f\n", name.c_str(),
                        rate / 1e6, m_dMemcpy / 1e6, m_dMemcpy > 0 ? m_dMemcpy / rate : 0.0);
        }
    }

private:
    double m_dMemcpy = 0;
    std::vector<std::pair<std::string, double>> m_rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
