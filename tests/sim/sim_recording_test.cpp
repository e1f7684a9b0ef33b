// Recordings of the simulated sensors through the program's receive path, read back through
// EDFlib: the file holds exactly what the live plot received, at the simulator's rate, with its
// annotations, across a pause; and a recording killed part-way is repaired from its journal.
#include <edflib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "protocol/oper_core.h"
#include "recording/edf_recorder.h"
#include "recording/edf_repair.h"
#include "sim_bus.h"
#include "sim_ports.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

class CSimRecordingClock : public CRecordingClock {
public:
    explicit CSimRecordingClock(CVirtualClock& clock) : m_clock(clock) {}
    int64_t SteadyNs() const override { return static_cast<int64_t>(m_clock.NowNs()); }
    int64_t WallNs() const override {
        return 1'797'000'000'000'000'000 + static_cast<int64_t>(m_clock.NowNs());
    }

private:
    CVirtualClock& m_clock;
};

// The panel and plot as far as a recording sees them: every sample goes to the plot and to
// the recorder.
class CRecordingTee : public CMonitorSink {
public:
    explicit CRecordingTee(CEdfRecorder& recorder) : m_recorder(recorder) {}
    void AddSample(int a, int b, int c) override {
        m_plot.push_back({a, b, c});
        m_recorder.AddSample(a, b, c);
    }
    void SetValues(int a, int b, int c, int d) override { m_recorder.SetValues(a, b, c, d); }
    void SetResultValues(int a, int b, int c, int d) override {
        m_recorder.SetResultValues(a, b, c, d);
    }
    std::vector<std::array<int, 3>> m_plot;

private:
    CEdfRecorder& m_recorder;
};

struct CSimRecording {
    CVirtualClock clock;
    CSimRecordingClock recordingClock{clock};
    CEdfRecorder recorder{recordingClock};
    CSimBus bus{31};
    CSimPortList ports{clock};
    CSimSerialLink link{ports, 3};
    CRecordingTee tee{recorder};
    COperCore core{tee};

    CSimRecording() {
        bus.AddAllSensors();
        ports.AddPort(kSimPortName, bus);
        core.SetSerialLink(&link);
        core.Initialise("");
        core.Scan(ports, clock);
    }
    ~CSimRecording() { core.SetSerialLink(nullptr); }
    // A GUI timer of 10 ms pumping the link; the recorder ticks with it.
    void Run(uint64_t ms) {
        for (uint64_t i = 0; i < ms; i += 10) {
            clock.AdvanceMs(10);
            link.Pump();
            recorder.Tick();
        }
    }
    void Start(uint8_t t, const std::string& path) {
        core.SelectDevice(core.GetCatalogue().IndexOfType(t));
        std::string error;
        ASSERT_TRUE(recorder.Open(path, {t, "S", "", ""}, error)) << error;
        core.OnStart();
    }
};

struct CReadBack {
    edf_hdr_struct hdr{};
    bool open = false;
    explicit CReadBack(const std::string& path) {
        open = edfopen_file_readonly(path.c_str(), &hdr, EDFLIB_READ_ALL_ANNOTATIONS) == 0;
    }
    ~CReadBack() {
        if (open) {
            edfclose_file(hdr.handle);
        }
    }
    std::vector<int> Digital(int k) {
        std::vector<int> v(static_cast<size_t>(hdr.signalparam[k].smp_in_file));
        edfread_digital_samples(hdr.handle, k, static_cast<int>(v.size()), v.data());
        return v;
    }
    std::vector<std::pair<double, std::string>> Annotations() {
        std::vector<std::pair<double, std::string>> out;
        for (int n = 0; n < hdr.annotations_in_file; ++n) {
            edf_annotation_struct a{};
            edf_get_annotation(hdr.handle, n, &a);
            out.emplace_back(static_cast<double>(a.onset) / EDFLIB_TIME_DIMENSION, a.annotation);
        }
        return out;
    }
};

class SimRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("somatrix_simrec_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(SimRecordingTest, FileHoldsWhatThePlotReceivedAtTheSimulatorsRate) {
    struct CCase {
        uint8_t m_nType;
        int m_nRate;     // the simulator's frames per second
        int m_nSignals;  // waveform signals
    };
    for (const CCase c : {CCase{type::kEcg, 250, 1}, CCase{type::kGastro, 20, 2},
                          CCase{type::kBloodOxygen, 50, 1}, CCase{type::kEmg, 1000, 1}}) {
        SCOPED_TRACE(testing::Message() << std::hex << int{c.m_nType});
        CSimRecording sim;
        const std::string path = (m_dir / "r.edf").string();
        const size_t before = sim.bus.SentFrames().size();
        sim.Start(c.m_nType, path);
        sim.Run(4000);
        const size_t paused = sim.tee.m_plot.size();
        const uint64_t pauseNs = sim.clock.NowNs();
        sim.recorder.Pause();
        sim.Run(3000);
        const size_t resumed = sim.tee.m_plot.size();
        const uint64_t resumeNs = sim.clock.NowNs();
        sim.recorder.Resume();
        sim.Run(1000);
        const uint64_t markNs = sim.clock.NowNs();
        sim.recorder.AddAnnotation("标记 1");
        sim.Run(2500);
        sim.core.OnStop();
        sim.Run(100);
        ASSERT_TRUE(sim.recorder.Close());

        // The file starts with the first data frame (received at the next 10 ms pump).
        uint64_t firstNs = 0;
        for (size_t i = before; i < sim.bus.SentFrames().size() && firstNs == 0; ++i) {
            const CSentFrame& f = sim.bus.SentFrames()[i];
            if (f.Type() == c.m_nType && f.Command() == cmd::kStart) {
                firstNs = (f.m_nReadyNs / 10'000'000 + 1) * 10'000'000;
            }
        }
        const auto since = [&](uint64_t ns) { return static_cast<double>(ns - firstNs) / 1e9; };
        CReadBack file(path);
        ASSERT_TRUE(file.open);
        EXPECT_EQ(file.hdr.signalparam[0].smp_in_datarecord, c.m_nRate);
        std::vector<std::array<int, 3>> kept(sim.tee.m_plot.begin(),
                                             sim.tee.m_plot.begin() + static_cast<long>(paused));
        kept.insert(kept.end(), sim.tee.m_plot.begin() + static_cast<long>(resumed),
                    sim.tee.m_plot.end());
        for (int k = 0; k < c.m_nSignals; ++k) {
            const std::vector<int> digital = file.Digital(k);
            std::vector<int> data;
            size_t firstAfterPause = 0;
            for (size_t i = 0; i < digital.size(); ++i) {
                if (digital[i] != -32768) {
                    if (data.size() == paused) {
                        firstAfterPause = i;
                    }
                    data.push_back(digital[i] + 32767);
                }
            }
            // The last record ends in "no data"; everything else is the plot's, in order.
            ASSERT_EQ(data.size(), kept.size());
            for (size_t i = 0; i < kept.size(); ++i) {
                ASSERT_EQ(data[i], kept[i][static_cast<size_t>(k)]) << i;
            }
            // The first sample after the pause sits at its true time: it arrived with the
            // first pump after Resume.
            EXPECT_NEAR(static_cast<double>(firstAfterPause), (since(resumeNs) + 0.01) * c.m_nRate,
                        0.02 * c.m_nRate + 1);
        }
        const auto annotations = file.Annotations();
        ASSERT_EQ(annotations.size(), 3u);
        EXPECT_EQ(annotations[0].second, "暂停");
        EXPECT_NEAR(annotations[0].first, since(pauseNs), 0.05);
        EXPECT_EQ(annotations[1].second, "继续");
        EXPECT_NEAR(annotations[1].first, since(resumeNs), 0.05);
        EXPECT_EQ(annotations[2].second, "标记 1");
        EXPECT_NEAR(annotations[2].first, since(markNs), 0.05);
    }
}

TEST_F(SimRecordingTest, BloodPressureResultBecomesAnAnnotation) {
    CSimRecording sim;
    const std::string path = (m_dir / "bp.edf").string();
    sim.Start(type::kBloodPressure, path);
    sim.Run(45000);
    ASSERT_TRUE(sim.recorder.Close());
    std::string expected;
    for (const CSentFrame& f : sim.bus.SentFrames()) {
        if (f.Command() == cmd::kCdResult) {
            char text[96];
            std::snprintf(text, sizeof text, "收缩压 %d mmHg 舒张压 %d mmHg 心率 %d", f.m_values[0],
                          f.m_values[1], f.m_values[2]);
            expected = text;
        }
    }
    ASSERT_FALSE(expected.empty());
    CReadBack file(path);
    ASSERT_TRUE(file.open);
    EXPECT_STREQ(file.hdr.signalparam[0].physdimension, "mmHg    ");
    const auto annotations = file.Annotations();
    ASSERT_EQ(annotations.size(), 1u);
    EXPECT_EQ(annotations[0].second, expected);
}

TEST_F(SimRecordingTest, RecordingKilledPartWayIsRepairedFromItsJournal) {
    const std::string path = (m_dir / "killed.edf").string();
    const std::string plot = (m_dir / "plot.txt").string();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CSimRecording sim;
        sim.Start(type::kEcg, path);
        sim.Run(3000);
        sim.recorder.AddAnnotation("标记 1");
        sim.Run(3000);
        sim.recorder.AddAnnotation("标记 2");
        sim.Run(3500);
        std::ofstream out(plot);
        for (const auto& s : sim.tee.m_plot) {
            out << s[0] << '\n';
        }
        out.close();
        const char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        for (;;) {
            ::pause();  // killed here, the recording still open
        }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(fs::exists(path + ".journal"));
    {
        CReadBack unrepaired(path);
        EXPECT_FALSE(unrepaired.open);  // the header still counts -1 records
    }

    const CRepairOutcome outcome = RepairRecording(path);
    ASSERT_EQ(outcome.m_result, ERepairResult::kRepaired) << outcome.m_strError;
    EXPECT_FALSE(fs::exists(path + ".journal"));
    // 9.5 s of frames from the first one at about 0.1 s: nine whole seconds are kept.
    EXPECT_EQ(outcome.m_nRecords, 9);
    CReadBack file(path);
    ASSERT_TRUE(file.open);
    EXPECT_EQ(file.hdr.datarecords_in_file, 9);
    const std::vector<int> digital = file.Digital(0);
    std::ifstream in(plot);
    std::vector<int> received;
    for (int v; in >> v;) {
        received.push_back(v);
    }
    ASSERT_GE(received.size(), digital.size());
    for (size_t i = 0; i < digital.size(); ++i) {
        ASSERT_EQ(digital[i] + 32767, received[i]) << i;
    }
    const auto annotations = file.Annotations();
    ASSERT_EQ(annotations.size(), 2u);
    EXPECT_EQ(annotations[0].second, "标记 1");
    EXPECT_EQ(annotations[1].second, "标记 2");
    EXPECT_LT(annotations[0].first, annotations[1].first);
    EXPECT_EQ(RepairRecording(path).m_result, ERepairResult::kNotNeeded);
}

}  // namespace
}  // namespace somatrix
