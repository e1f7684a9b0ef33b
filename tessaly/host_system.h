#pragma once
// The system layer of the running machine: real files, real processes. Given a stand-in folder
// for the system drive it works inside that folder instead, which is how it is tested.
#include "path_mapper.h"
#include "system_layer.h"

namespace tessaly {

class CHostSystem : public CSystemLayer {
public:
    // The real system drive and the process's current folder.
    CHostSystem();
    explicit CHostSystem(CPathMapper mapper);

    int GetNativeBits() const override;
    bool FileExists(const QString& strPath) const override;
    EMoveResult MoveReplacing(const QString& strFrom, const QString& strTo) override;
    bool StartHidden(const QString& strCommandLine) override;

private:
    CPathMapper m_mapper;
};

}  // namespace tessaly
