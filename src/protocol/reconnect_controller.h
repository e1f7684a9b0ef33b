#pragma once
// What the hub keeps to take a measurement through a pulled cable: whether it may wait for the
// device at all, which device it waits for (type code and device number, never a port name,
// since ports are renumbered when a cable comes back), and the settings to give the device again
// (gain, thermometer calibration, output or input mode). Owned by the hub; one thread.
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/frame.h"

namespace somatrix {

// One physical sensor: its type code and the device number it answers "读设备号" with (empty
// when it was never read; then any device of the type is taken).
struct CDeviceIdentity {
    uint8_t m_nType = 0;
    std::string m_strNumber;
    bool Matches(uint8_t type, const std::string& number) const {
        return type == m_nType && (m_strNumber.empty() || number == m_strNumber);
    }
};

class CReconnectController {
public:
    void SetEnabled(bool on) { m_bEnabled = on; }
    bool IsEnabled() const { return m_bEnabled; }

    // The settings the operator gave the device, remembered as they are sent.
    void NoteCalibration(int index) { m_nCalibration = index; }
    void NoteMode(int index) { m_nMode = index; }
    // A newly selected device has had nothing set yet.
    void ForgetSettings() { m_nCalibration = m_nMode = -1; }

    void BeginWait(const CDeviceIdentity& device, const std::string& lostPort) {
        m_bWaiting = true;
        m_device = device;
        m_strLostPort = lostPort;
    }
    void EndWait() { m_bWaiting = false; }
    bool IsWaiting() const { return m_bWaiting; }
    const CDeviceIdentity& Device() const { return m_device; }
    const std::string& LostPort() const { return m_strLostPort; }

    // The requests that give a device of `type` its settings again, in the order the operator
    // could have made them: gain (the types that have one), calibration, mode.
    std::vector<CFrame> RestoreRequests(uint8_t type, int gain) const;

private:
    bool m_bEnabled = false;
    bool m_bWaiting = false;
    CDeviceIdentity m_device;
    std::string m_strLostPort;
    int m_nCalibration = -1;
    int m_nMode = -1;
};

}  // namespace somatrix
