#pragma once
// Renders the review wave window's off-screen image from its view: background, grid, centre line
// and trace. The trace is drawn either through the per-column extremes (what the window uses) or
// segment by segment; both give the same pixels.
#include <QImage>
#include <vector>

#include "review/wave_view.h"

namespace somatrix {

enum class ETracePath { kColumns, kEverySegment };

// `columns` is scratch space reused between renders.
void RenderWaveImage(QImage& image, const CWaveView& view, ETracePath path,
                     std::vector<CColumnSpan>& columns);

}  // namespace somatrix
