// The lower group of the operation panel: the scan command, the slow-scan and online-only
// switches, the device list and its selection handler.
#include <cstdio>

#include "discovery/port_scanner.h"
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"

namespace somatrix {

CScanJob COperCore::BeginScan() {
    EndWaitForDevice();
    m_nSelected = -1;
    m_nOnlineCount = 0;
    m_listEntries.clear();
    m_listRecords.clear();
    ShowDeviceList(-1);
    CloseDevicePort();
    m_devicePort = CDevicePort{};
    m_bScanning = true;
    RefreshControls();
    return CScanJob{m_catalogue, m_nProbeWaitMs};
}

void COperCore::FinishScan(const CScanResult& result) {
    m_devicePort = result.m_port;
    for (size_t i = 0; i < m_catalogue.GetCount(); ++i) {
        _ZP_Device_Info& info = m_catalogue.At(static_cast<int>(i));
        const _ZP_Device_Info& probed = result.m_catalogue.At(static_cast<int>(i));
        info.m_bOnline = probed.m_bOnline;
        CopyField(info.m_szDevNum, probed.m_szDevNum);
        CopyField(info.m_szDate, probed.m_szDate);
    }
    if (m_devicePort.m_nPort < 0) {
        m_sink.ShowMessage(texts::kNoPortFound);
    }
    if (!m_devicePort.IsKnown()) {
        // When no port could be probed the records still hold an earlier scan's answers; none of
        // them is online now, and the list must not claim otherwise.
        m_catalogue.ClearScanResults();
    }
    m_bScanning = false;

    RebuildDeviceList();
    int first = -1;
    m_nOnlineCount = 0;
    for (size_t i = 0; i < m_catalogue.GetCount(); ++i) {
        if (m_catalogue.At(static_cast<int>(i)).m_bOnline) {
            ++m_nOnlineCount;
            first = first < 0 ? static_cast<int>(i) : first;
        }
    }
    if (m_devicePort.IsKnown()) {
        char status[160];
        std::snprintf(status, sizeof status, texts::kPortDevices, m_devicePort.m_strName.c_str(),
                      m_nOnlineCount);
        m_sink.SetStatusText(status);
    } else if (!result.m_busyPorts.empty()) {
        // The sensor may well be there, behind another program: say which port to free.
        std::string names;
        for (const std::string& name : result.m_busyPorts) {
            names += (names.empty() ? "" : "、") + name;
        }
        char status[256];
        std::snprintf(status, sizeof status, texts::kPortBusy, names.c_str());
        m_sink.SetStatusText(status);
    } else {
        m_sink.SetStatusText(texts::kNoDeviceOnline);
    }
    const int position = ListPositionOf(first);
    ShowDeviceList(position);
    if (position >= 0) {
        OnDeviceListSelect(position);
    } else {
        RefreshControls();
    }
}

void COperCore::Scan(CPortList& ports, CScanClock& clock,
                     const std::function<void(const std::string&)>& trace) {
    CScanJob job = BeginScan();
    CPortScanner scanner(ports, clock, m_sink, trace, job.m_nWaitMs);
    FinishScan(scanner.ScanDevicePorts(std::move(job.m_catalogue)));
}

void COperCore::SetSlowScan(bool slow) {
    m_nProbeWaitMs = slow ? 600 : 150;
}

void COperCore::SetOnlineOnly(bool onlineOnly) {
    m_bOnlineOnly = onlineOnly;
    if (m_bScanning) {
        // The list is rebuilt from the scan's own result when it ends.
        return;
    }
    RebuildDeviceList();
    const bool active =
        m_flags.m_bMeasuring || m_flags.m_bStartRequested || m_flags.m_bStopRequested;
    if (!active) {
        // Toggling leaves the list without a selection, so nothing is ready to start.
        m_nSelected = -1;
        ShowDeviceList(-1);
        RefreshControls();
        return;
    }
    // A running measurement must keep its device, or Stop could no longer address it; so the
    // selection survives whenever its record is still listed.
    const int position = ListPositionOf(m_nSelected);
    if (position < 0) {
        m_nSelected = -1;
    }
    ShowDeviceList(position);
    RefreshControls();
}

void COperCore::OnDeviceListSelect(int position) {
    if (position < 0 || static_cast<size_t>(position) >= m_listEntries.size()) {
        return;
    }
    m_nListSelection = position;
    const std::string& text = m_listEntries[static_cast<size_t>(position)];
    for (size_t i = 0; i < m_catalogue.GetCount(); ++i) {
        if (text.find(m_catalogue.At(static_cast<int>(i)).m_szName) != std::string::npos) {
            SelectDevice(static_cast<int>(i));  // refreshes the controls
            return;
        }
    }
    RefreshControls();
}

int COperCore::ListPositionOf(int index) const {
    for (size_t i = 0; i < m_listRecords.size(); ++i) {
        if (m_listRecords[i] == index) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void COperCore::RebuildDeviceList() {
    m_listEntries.clear();
    m_listRecords.clear();
    for (size_t i = 0; i < m_catalogue.GetCount(); ++i) {
        const _ZP_Device_Info& info = m_catalogue.At(static_cast<int>(i));
        if (!info.m_bOnline && m_bOnlineOnly) {
            continue;
        }
        std::string entry = info.m_szName;
        if (info.m_bOnline && !m_bOnlineOnly) {
            entry += texts::kOnlineSuffix;
        }
        m_listEntries.push_back(std::move(entry));
        m_listRecords.push_back(static_cast<int>(i));
    }
}

void COperCore::ShowDeviceList(int selected) {
    m_nListSelection = selected;
    m_sink.SetDeviceList(m_listEntries, selected);
}

}  // namespace somatrix
