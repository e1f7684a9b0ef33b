#include "protocol/reconnect_controller.h"

namespace somatrix {

std::vector<CFrame> CReconnectController::RestoreRequests(uint8_t t, int gain) const {
    std::vector<CFrame> requests;
    if (t == type::kPulse || t == type::kInfraredPulse || t == type::kRespiration ||
        t == type::kHeartSound) {
        requests.push_back(GainRequest(t, gain));
    }
    if (t == type::kBodyTemperature && m_nCalibration >= 0) {
        if (auto request = TemperatureCalibrationRequest(m_nCalibration)) {
            requests.push_back(*request);
        }
    }
    if (t == type::kHeartRate && m_nMode >= 0) {
        requests.push_back(OutputModeRequest(m_nMode));
    } else if (t == type::kGastro && m_nMode >= 0) {
        requests.push_back(InputSelectRequest(m_nMode));
    }
    return requests;
}

}  // namespace somatrix
