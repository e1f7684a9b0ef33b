#include "sim_bus.h"

#include <algorithm>

namespace somatrix {

namespace {
// What the sensors may have queued for the line before new frames are lost: about a third of a
// second of line time, the order of a bridge's and a microcontroller's buffers together.
constexpr size_t kMaxBacklogBytes = 4096;
// The far end's receive buffer: bytes nobody reads (port closed) pile up to this, then overrun.
constexpr size_t kReceiveBufferBytes = 16384;
}  // namespace

// Two generators, so that the bytes on the line do not depend on how often the bus is driven.
CSimBus::CSimBus(uint64_t seed)
    : m_nSeed(seed),
      m_random(SimMix(seed) ^ 0xB05),
      m_garbageRandom(SimMix(seed) ^ 0x6A6),
      m_dataRandom(SimMix(seed) ^ 0xDA7) {}

CSimBus::~CSimBus() = default;

CSimSensor& CSimBus::AddSensor(uint8_t type, const CSensorConfig& config) {
    auto sensor = MakeSimSensor(type, config, m_nSeed);
    if (!sensor) {
        // Not a catalogue type: a sensor that answers nothing keeps the caller's reference valid.
        CSensorConfig silent = config;
        silent.m_bSilent = true;
        sensor = MakeSimSensor(type::kEcg, silent, m_nSeed);
    }
    return AddSensor(std::move(sensor));
}

CSimSensor& CSimBus::AddSensor(std::unique_ptr<CSimSensor> sensor) {
    std::lock_guard lock(m_mutex);
    m_sensors.push_back(std::move(sensor));
    return *m_sensors.back();
}

void CSimBus::AddAllSensors(const CSensorConfig& config) {
    for (uint8_t type : AllSensorTypes()) {
        AddSensor(type, config);
    }
}

CSimSensor* CSimBus::Sensor(uint8_t type) {
    std::lock_guard lock(m_mutex);
    for (auto& sensor : m_sensors) {
        if (sensor->Type() == type) {
            return sensor.get();
        }
    }
    return nullptr;
}

size_t CSimBus::SensorCount() const {
    std::lock_guard lock(m_mutex);
    return m_sensors.size();
}

void CSimBus::SetFaults(const CFaultPlan& plan) {
    std::lock_guard lock(m_mutex);
    m_plan = plan;
    m_nNextGarbageNs = m_nNowNs + plan.m_nGarbageEveryNs;
}

CFaultPlan CSimBus::Faults() const {
    std::lock_guard lock(m_mutex);
    return m_plan;
}

void CSimBus::SetRecording(bool bRecord) {
    std::lock_guard lock(m_mutex);
    m_bRecord = bRecord;
}

uint64_t CSimBus::NowNs() const {
    std::lock_guard lock(m_mutex);
    return m_nNowNs;
}

bool CSimBus::DeadAt(uint64_t tNs) const {
    return m_plan.m_nDisconnectAfterNs != 0 && tNs >= m_plan.m_nDisconnectAfterNs;
}

bool CSimBus::IsDisconnected() const {
    std::lock_guard lock(m_mutex);
    return DeadAt(m_nNowNs);
}

CInjectedFaults CSimBus::Injected() const {
    std::lock_guard lock(m_mutex);
    return m_injected;
}

void CSimBus::Unplug() {
    std::lock_guard lock(m_mutex);
    m_plan.m_nDisconnectAfterNs = std::max<uint64_t>(m_nNowNs, 1);
}

bool CSimBus::IsDataFrame(const CFrame& frame) const {
    const uint8_t command = frame[kPosCommand];
    return command == cmd::kStart ||
           (command == cmd::kCdData && frame[kPosType] == type::kBloodPressure);
}

CBusStats CSimBus::Stats() const {
    std::lock_guard lock(m_mutex);
    return m_stats;
}

void CSimBus::AdvanceTo(uint64_t tNs) {
    std::lock_guard lock(m_mutex);
    RunTo(tNs);
}

void CSimBus::RunTo(uint64_t tNs) {
    if (tNs <= m_nNowNs) {
        return;
    }
    // After the line died nothing more is heard or sent; the sensors' state stays as it was.
    const uint64_t tEnd = DeadAt(tNs) ? m_plan.m_nDisconnectAfterNs : tNs;
    while (!m_requests.empty() && m_requests.front().m_nTimeNs <= tEnd) {
        const CRequest request = std::move(m_requests.front());
        m_requests.pop_front();
        for (auto& sensor : m_sensors) {
            sensor->Produce(request.m_nTimeNs, *this);
        }
        for (auto& sensor : m_sensors) {
            sensor->OnRequest(request.m_bytes.data(), request.m_bytes.size(), request.m_nTimeNs,
                              *this);
        }
    }
    for (auto& sensor : m_sensors) {
        sensor->Produce(tEnd, *this);
    }
    while (m_plan.m_nGarbageEveryNs != 0 && m_nNextGarbageNs <= tEnd) {
        CQueued burst;
        burst.m_garbage.resize(static_cast<size_t>(std::max(1, m_plan.m_nGarbageBytes)));
        for (auto& b : burst.m_garbage) {
            b = m_garbageRandom.Byte();
        }
        m_nQueuedBytes += burst.m_garbage.size();
        m_queue.emplace(m_nNextGarbageNs, std::move(burst));
        m_nNextGarbageNs += m_plan.m_nGarbageEveryNs;
    }
    TransmitTo(tEnd);
    m_nNowNs = tNs;
}

void CSimBus::Emit(uint64_t readyNs, const CFrame& frame, std::vector<int> values) {
    if (m_nQueuedBytes + frame.size() > kMaxBacklogBytes) {
        ++m_stats.m_nOverflowFrames;
        return;
    }
    m_nQueuedBytes += frame.size();
    const bool stall = IsDataFrame(frame) && m_dataRandom.Chance(m_plan.m_fStallChance);
    m_queue.emplace(readyNs, CQueued{frame, std::move(values), {}, stall});
}

void CSimBus::TransmitTo(uint64_t tNs) {
    for (;;) {
        if (m_nCurrentPos >= m_current.size()) {
            if (m_queue.empty()) {
                return;
            }
            auto it = m_queue.begin();
            // The next frame starts when it is ready and the line is free; deciding this only
            // from the queue keeps the timing independent of how often the bus is driven.
            const uint64_t start =
                std::max(it->first, m_nLineFreeNs) + (it->second.m_bStall ? m_plan.m_nStallNs : 0);
            if (start + kLineByteNs > tNs) {
                return;
            }
            CQueued item = std::move(it->second);
            const uint64_t readyNs = it->first;
            m_queue.erase(it);
            m_nQueuedBytes -= item.m_garbage.empty() ? item.m_frame.size() : item.m_garbage.size();
            m_nLineFreeNs = start;
            if (item.m_bStall) {
                ++m_injected.m_nStalls;
                if (m_bRecord) {
                    m_faults.push_back({ELineFault::kStall, m_nLineOffset, 0});
                }
            }
            StartNext(readyNs, std::move(item));
        }
        while (m_nCurrentPos < m_current.size() && m_nLineFreeNs + kLineByteNs <= tNs) {
            if (m_arrived.size() < kReceiveBufferBytes) {
                m_arrived.push_back(m_current[m_nCurrentPos]);
            } else {
                ++m_stats.m_nOverrunBytes;
            }
            ++m_nCurrentPos;
            m_nLineFreeNs += kLineByteNs;
            ++m_nLineOffset;
            ++m_stats.m_nLineBytes;
        }
        if (m_nCurrentPos < m_current.size()) {
            return;
        }
        if (m_nCurrentTruth >= 0) {
            m_sent[static_cast<size_t>(m_nCurrentTruth)].m_bComplete = true;
        }
        m_current.clear();
        m_nCurrentPos = 0;
        m_nCurrentTruth = -1;
    }
}

void CSimBus::StartNext(uint64_t readyNs, CQueued item) {
    m_current.clear();
    m_nCurrentPos = 0;
    m_nCurrentTruth = -1;
    if (!item.m_garbage.empty()) {
        m_faults.push_back(
            {ELineFault::kGarbage, m_nLineOffset, static_cast<uint32_t>(item.m_garbage.size())});
        m_current = std::move(item.m_garbage);
        return;
    }
    if (m_random.Chance(m_plan.m_fStrayChance)) {
        const int n = m_random.Range(1, 3);
        m_faults.push_back({ELineFault::kStray, m_nLineOffset, static_cast<uint32_t>(n)});
        for (int i = 0; i < n; ++i) {
            m_current.push_back(m_random.Byte());
        }
    }
    std::vector<uint8_t> bytes(item.m_frame.data(), item.m_frame.data() + item.m_frame.size());
    bool bDamaged = false;
    if (IsDataFrame(item.m_frame)) {
        if (!DamageDataFrame(bytes, m_nLineOffset + m_current.size())) {
            return;
        }
        bDamaged = bytes[kPosChecksum] != item.m_frame[kPosChecksum];
    }
    const uint64_t offset = m_nLineOffset + m_current.size();
    if (m_random.Chance(m_plan.m_fBitErrorChance)) {
        const int i = m_random.Range(0, static_cast<int>(bytes.size()) - 1);
        bytes[static_cast<size_t>(i)] ^= static_cast<uint8_t>(1u << m_random.Range(0, 7));
        m_faults.push_back({ELineFault::kBitError, offset + static_cast<uint64_t>(i), 1});
        bDamaged = true;
    }
    if (m_random.Chance(m_plan.m_fDropChance)) {
        const int i = m_random.Range(0, static_cast<int>(bytes.size()) - 1);
        bytes.erase(bytes.begin() + i);
        m_faults.push_back({ELineFault::kDroppedByte, offset + static_cast<uint64_t>(i), 1});
        bDamaged = true;
    }
    ++m_stats.m_nFramesSent;
    if (m_bRecord) {
        CSentFrame sent;
        sent.m_nReadyNs = readyNs;
        sent.m_nFirstByteNs = m_nLineFreeNs + (m_current.size() + 1) * kLineByteNs;
        sent.m_nLineOffset = offset;
        sent.m_nLineBytes = static_cast<uint32_t>(bytes.size());
        sent.m_frame = item.m_frame;
        sent.m_values = std::move(item.m_values);
        sent.m_bDamaged = bDamaged;
        m_nCurrentTruth = static_cast<int64_t>(m_sent.size());
        m_sent.push_back(std::move(sent));
    }
    m_current.insert(m_current.end(), bytes.begin(), bytes.end());
}

bool CSimBus::DamageDataFrame(std::vector<uint8_t>& bytes, uint64_t offset) {
    // A frame lost or dropped for its checksum is never followed by another: two missing in a
    // row would be a gap of three frame periods, which a receiver counts as a stall.
    const bool mayMiss = !m_bLastMissing;
    m_bLastMissing = false;
    if (mayMiss && m_dataRandom.Chance(m_plan.m_fLoseChance)) {
        m_bLastMissing = true;
        ++m_injected.m_nLost;
        if (m_bRecord) {
            m_faults.push_back({ELineFault::kLost, offset, 0});
        }
        return false;
    }
    if (m_dataRandom.Chance(m_plan.m_fJunkChance)) {
        const int n = m_dataRandom.Range(1, 3);
        for (int i = 0; i < n; ++i) {
            m_current.push_back(static_cast<uint8_t>(m_dataRandom.Range(0, 0xFE)));
        }
        m_injected.m_nJunkBytes += static_cast<uint64_t>(n);
        if (m_bRecord) {
            m_faults.push_back({ELineFault::kJunk, offset, static_cast<uint32_t>(n)});
        }
    }
    if (mayMiss && m_dataRandom.Chance(m_plan.m_fCorruptChance)) {
        m_bLastMissing = true;
        bytes[kPosChecksum] = static_cast<uint8_t>(bytes[kPosChecksum] + 1);
        ++m_injected.m_nCorrupted;
        if (m_bRecord) {
            m_faults.push_back({ELineFault::kCorrupt, offset + m_current.size(), 1});
        }
    }
    return true;
}

void CSimBus::Write(const uint8_t* data, size_t n) {
    std::lock_guard lock(m_mutex);
    if (DeadAt(m_nNowNs)) {
        return;
    }
    // The request crosses the line at the same speed; each byte is heard when it has arrived.
    m_nHostFreeNs = std::max(m_nHostFreeNs, m_nNowNs);
    for (size_t i = 0; i < n; ++i) {
        m_nHostFreeNs += kLineByteNs;
        FeedRequestByte(data[i], m_nHostFreeNs);
    }
}

// The sensors' receive side: find a start byte, collect the frame its length byte announces and
// keep it only when its checksum is right. A bad frame is forgotten; the next start byte begins
// a new one.
void CSimBus::FeedRequestByte(uint8_t b, uint64_t tNs) {
    if (m_assembly.empty()) {
        if (b == kFrameStart) {
            m_assembly.push_back(b);
        }
        return;
    }
    m_assembly.push_back(b);
    if (m_assembly.size() == kPosLength + 1 && (b < 3 || b > kMaxReceiveLength)) {
        m_assembly.clear();
        return;
    }
    if (m_assembly.size() > kPosLength && m_assembly.size() == size_t{m_assembly[kPosLength]} + 2) {
        if (FrameChecksum(m_assembly.data(), m_assembly.size()) == m_assembly[kPosChecksum]) {
            m_requests.push_back({tNs, m_assembly});
            ++m_stats.m_nRequests;
            if (m_bRecord) {
                m_requestLog.push_back(m_assembly);
            }
        }
        m_assembly.clear();
    }
}

size_t CSimBus::Read(uint8_t* dst, size_t max) {
    std::lock_guard lock(m_mutex);
    const size_t n = std::min(max, m_arrived.size());
    std::copy_n(m_arrived.begin(), n, dst);
    m_arrived.erase(m_arrived.begin(), m_arrived.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

size_t CSimBus::Available() const {
    std::lock_guard lock(m_mutex);
    return m_arrived.size();
}

void CSimBus::Purge() {
    std::lock_guard lock(m_mutex);
    m_arrived.clear();
}

}  // namespace somatrix
