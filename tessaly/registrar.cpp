#include "registrar.h"

#include "texts.h"

#include <utility>

namespace tessaly {

namespace {

// The texts and places of one system width.
struct CTarget {
    const QString& strSystem;
    const QString& strPresent;
    const QString& strCopying;
    const QString& strTarget;
    const QString& strRegistering;
    const QString& strBatch;
    const QString& strCommand;
};

CTarget TargetFor(int nBits) {
    using namespace texts;
    if (nBits == 64) {
        return {kSystem64, kPresent64, kCopying64, kTarget64, kRegistering64, kBatch64, kCommand64};
    }
    return {kSystem32, kPresent32, kCopying32, kTarget32, kRegistering32, kBatch32, kCommand32};
}

}  // namespace

CRegistrar::CRegistrar(CSystemLayer& system, FnLog fnLog)
    : m_system(system), m_fnLog(std::move(fnLog)) {}

int CRegistrar::GetArchitectureBits() const {
    return m_system.GetNativeBits() == 64 ? 64 : 32;
}

void CRegistrar::Register() {
    const CTarget target = TargetFor(GetArchitectureBits());
    m_fnLog(target.strSystem);
    if (!m_system.FileExists(target.strPresent)) {
        m_fnLog(target.strCopying);
        switch (m_system.MoveReplacing(texts::kControlFile, target.strTarget)) {
            case EMoveResult::kMoved:
                break;
            case EMoveResult::kSourceMissing:
                m_fnLog(texts::kNoControlFile);
                return;
            case EMoveResult::kFailed:
                m_fnLog(texts::kMoveFailed);
                return;
        }
    } else {
        m_fnLog(target.strRegistering);
    }
    // The batch file is run from the current folder; without it cmd would fail unseen.
    if (!m_system.FileExists(target.strBatch)) {
        m_fnLog(texts::kNoBatchFile.arg(target.strBatch));
        return;
    }
    if (!m_system.StartHidden(target.strCommand)) {
        m_fnLog(texts::kStartFailed.arg(target.strCommand));
    }
}

}  // namespace tessaly
