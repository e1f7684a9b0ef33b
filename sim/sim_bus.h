#pragma once
// Any set of simulated sensors sharing one serial line, as they would behind one port. Requests
// written by the host reach every sensor (each answers only what is addressed to it); everything
// the sensors emit queues for the line and goes out one byte per 1/11520 s at most, the speed of
// 115200 baud 8N1, so a busy bus paces its frames as a real line does. Faults from a CFaultPlan
// are applied as frames go onto the line.
//
// The bus has no clock of its own: AdvanceTo(t) runs the sensors and the line up to t. The
// in-process ports drive it from a virtual or real clock; the pseudo-terminal server from real
// time. All public members lock, so a scan on a worker thread and a link polled by a timer may
// share one bus.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "sim_faults.h"
#include "sim_random.h"
#include "sim_sensor.h"

namespace somatrix {

// One byte at 115200 baud with start and stop bits takes 86805.6 ns; rounding up keeps the
// line from ever being faster than the real one.
inline constexpr uint64_t kLineByteNs = 86806;
inline constexpr uint64_t kLineBytesPerSecond = 11520;

struct CBusStats {
    uint64_t m_nLineBytes = 0;       // bytes that arrived at the far end
    uint64_t m_nFramesSent = 0;      // sensor frames put on the line
    uint64_t m_nOverflowFrames = 0;  // frames the sensors could not queue (line saturated)
    uint64_t m_nRequests = 0;        // checked requests received from the host
    uint64_t m_nOverrunBytes = 0;    // arrived while the receive buffer was full, lost
};

class CSimBus : public CSensorOutput {
public:
    explicit CSimBus(uint64_t seed = 1);
    ~CSimBus() override;

    // Sensors are added before use; a sensor made here takes the bus's seed (one subject).
    CSimSensor& AddSensor(uint8_t type, const CSensorConfig& config = {});
    CSimSensor& AddSensor(std::unique_ptr<CSimSensor> sensor);
    void AddAllSensors(const CSensorConfig& config = {});
    CSimSensor* Sensor(uint8_t type);
    size_t SensorCount() const;
    uint64_t Seed() const { return m_nSeed; }

    void SetFaults(const CFaultPlan& plan);
    CFaultPlan Faults() const;
    // Keeping the ground truth costs memory for ever; long-running servers turn it off.
    void SetRecording(bool bRecord);

    // Runs sensors, requests and the line up to `tNs` (never backwards).
    void AdvanceTo(uint64_t tNs);
    uint64_t NowNs() const;
    // Host bytes put on the line towards the sensors at the current time.
    void Write(const uint8_t* data, size_t n);
    // Takes at most `max` of the bytes that have arrived; returns the count.
    size_t Read(uint8_t* dst, size_t max);
    size_t Available() const;
    // Discards the bytes that have arrived and not been read (a port purge).
    void Purge();
    // True once the planned disconnect time has passed: nothing arrives or is heard any more.
    bool IsDisconnected() const;

    // Ground truth; read it while nobody drives the bus.
    const std::vector<CSentFrame>& SentFrames() const { return m_sent; }
    const std::vector<CLineFault>& LineFaults() const { return m_faults; }
    // Every checked request the sensors heard, in order.
    const std::vector<std::vector<uint8_t>>& Requests() const { return m_requestLog; }
    CBusStats Stats() const;
    CInjectedFaults Injected() const;
    // Ends the line now, as pulling the cable does: nothing more is heard or sent.
    void Unplug();

    // CSensorOutput, called by the sensors while the bus runs them.
    void Emit(uint64_t readyNs, const CFrame& frame, std::vector<int> values) override;

private:
    struct CQueued {
        CFrame m_frame;
        std::vector<int> m_values;
        std::vector<uint8_t> m_garbage;  // a garbage burst instead of a frame when not empty
        bool m_bStall = false;           // the line stalls before this frame
    };
    struct CRequest {
        uint64_t m_nTimeNs;
        std::vector<uint8_t> m_bytes;
    };

    void RunTo(uint64_t tNs);
    void TransmitTo(uint64_t tNs);
    void StartNext(uint64_t readyNs, CQueued item);
    void FeedRequestByte(uint8_t b, uint64_t tNs);
    bool DeadAt(uint64_t tNs) const;
    bool IsDataFrame(const CFrame& frame) const;
    // Applies the data-frame faults to a frame about to go out; false when it is lost.
    bool DamageDataFrame(std::vector<uint8_t>& bytes, uint64_t offset);

    mutable std::mutex m_mutex;
    uint64_t m_nSeed;
    CSimRandom m_random;          // faults, in the order frames go onto the line
    CSimRandom m_garbageRandom;   // garbage contents, in the order bursts are due
    CSimRandom m_dataRandom;      // data-frame faults, so the older faults keep their pattern
    bool m_bLastMissing = false;  // the last data frame was lost or corrupted
    CInjectedFaults m_injected;
    std::vector<std::vector<uint8_t>> m_requestLog;
    std::vector<std::unique_ptr<CSimSensor>> m_sensors;
    CFaultPlan m_plan;
    bool m_bRecord = true;
    uint64_t m_nNowNs = 0;

    // Towards the sensors.
    uint64_t m_nHostFreeNs = 0;
    std::vector<uint8_t> m_assembly;
    std::deque<CRequest> m_requests;

    // Towards the host: frames waiting by ready time (equal times keep their order), the one
    // being sent, and what has arrived.
    std::multimap<uint64_t, CQueued> m_queue;
    size_t m_nQueuedBytes = 0;
    std::vector<uint8_t> m_current;
    size_t m_nCurrentPos = 0;
    int64_t m_nCurrentTruth = -1;
    uint64_t m_nLineFreeNs = 0;
    uint64_t m_nLineOffset = 0;
    uint64_t m_nNextGarbageNs = 0;
    std::deque<uint8_t> m_arrived;

    std::vector<CSentFrame> m_sent;
    std::vector<CLineFault> m_faults;
    CBusStats m_stats;
};

}  // namespace somatrix
