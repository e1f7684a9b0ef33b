#pragma once
// The direct port access of the device scan, separate from the panel's serial link.
// Implemented by termios (Linux), Win32 (Windows) and the simulator's bus. Used only by the scan,
// which may run on a worker thread; one port object is used by one thread at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace somatrix {

class CProbePort {
public:
    virtual ~CProbePort() = default;
    // Discards everything queued in both directions.
    virtual void Purge() = 0;
    // Starts writing the bytes; does not wait for them to leave.
    virtual void Write(const uint8_t* data, size_t n) = 0;
    // Clears the port's error state (overruns, framing errors).
    virtual void ClearErrors() = 0;
    // Copies at most `max` bytes of what has arrived, without waiting; returns the count.
    virtual size_t Read(uint8_t* dst, size_t max) = 0;
};

// Milliseconds and sleeping, so a scan can run on a virtual clock in tests.
class CScanClock {
public:
    virtual ~CScanClock() = default;
    virtual uint32_t TickMs() = 0;
    virtual void SleepMs(int ms) = 0;
};

// Where candidate ports come from and how one is opened for probing.
class CPortList {
public:
    virtual ~CPortList() = default;
    // Ports of USB-to-UART bridges in a stable order; empty when there is none.
    virtual std::vector<std::string> CandidatePorts() = 0;
    // Opens one port at 115200 8N1 with DTR and RTS asserted, both queues purged; null on failure.
    virtual std::unique_ptr<CProbePort> OpenProbePort(const std::string& name) = 0;
    // After OpenProbePort returned null: whether the port exists but another program holds it.
    virtual bool LastOpenWasBusy() const { return false; }
};

}  // namespace somatrix
