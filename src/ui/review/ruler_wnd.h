#pragma once
// A review ruler: the time ruler under the wave window (25 marks labelled with seconds and
// milliseconds) or the value ruler beside it (20 marks labelled with sample values). Paints the
// marks that ruler_labels computes; times come from the review display.
#include <QWidget>
#include <cstdint>

namespace somatrix {

class CWaveDispWnd;

class CRulerWnd : public QWidget {
    Q_OBJECT
public:
    explicit CRulerWnd(CWaveDispWnd* parent);

    void SetVertical(bool vertical);
    bool Vertical() const { return m_bVertical; }
    void SetRange(int64_t start, int64_t end);
    void SetValues(int32_t top, int32_t bottom);
    // Back to the state before any recording (1 to 1400, 1300 to 0).
    void Reset();

    int64_t RangeStart() const { return m_nRangeStart; }
    int64_t RangeEnd() const { return m_nRangeEnd; }
    int32_t TopValue() const { return m_nTopValue; }
    int32_t BottomValue() const { return m_nBottomValue; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CWaveDispWnd* m_pParent;
    bool m_bVertical = false;
    int64_t m_nRangeStart = 1;
    int64_t m_nRangeEnd = 1400;
    int32_t m_nTopValue = 1300;
    int32_t m_nBottomValue = 0;
};

}  // namespace somatrix
