#include "review/source_load.h"

#include "recording/edf_repair.h"
#include "review/edf_load.h"
#include "review/review_file.h"

namespace somatrix {

CSourceLoadOutcome LoadReviewSource(const std::string& path, CReviewSource& source) {
    source.Clear();
    CSourceLoadOutcome outcome;
    if (IsEdfPath(path)) {
        outcome.m_bRepaired = RepairRecording(path).m_result == ERepairResult::kRepaired;
        const CEdfLoadOutcome edf = LoadEdfFile(path, source);
        outcome.m_result = edf.m_bLoaded ? ESourceLoad::kLoaded : ESourceLoad::kEdfRefused;
        outcome.m_nEdfError = edf.m_nEdfError;
        outcome.m_strError = edf.m_strError;
        return outcome;
    }
    const CLoadOutcome review = LoadWaveFile(path, source.Recording());
    switch (review.m_result) {
        case ELoadResult::kLoaded:
            source.AdoptReviewRecording();
            outcome.m_result = ESourceLoad::kLoaded;
            break;
        case ELoadResult::kRejected:
            outcome.m_result = ESourceLoad::kRejected;
            break;
        case ELoadResult::kUnreadable:
        case ELoadResult::kTooLarge:
            outcome.m_result = ESourceLoad::kUnreadable;
            outcome.m_strError = review.m_strError;
            break;
    }
    return outcome;
}

}  // namespace somatrix
