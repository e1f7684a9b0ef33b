#pragma once
// The register operation: put "MSCOMM32.OCX" from the current folder into the system folder that
// fits the running system and start the delivered batch file that registers it. Each step is
// reported through the log callback. Runs on the GUI thread; nothing is waited for.
#include "system_layer.h"

#include <QString>

#include <functional>

namespace tessaly {

class CRegistrar {
public:
    using FnLog = std::function<void(const QString&)>;

    CRegistrar(CSystemLayer& system, FnLog fnLog);

    int GetArchitectureBits() const;
    // Safe to repeat: once the control is in place only the registration runs again.
    void Register();

private:
    CSystemLayer& m_system;
    FnLog m_fnLog;
};

}  // namespace tessaly
