#pragma once
// The numeric information panel inside the operation panel: the selected sensor's name and its
// current values, laid out per sensor type, with the running extremes on demand.
#include <QString>
#include <QWidget>
#include <cstdint>

namespace somatrix {

class CInfoScreeWnd : public QWidget {
    Q_OBJECT
public:
    explicit CInfoScreeWnd(QWidget* parent = nullptr);
    ~CInfoScreeWnd() override;

    void SetValues(int v1, int v2, int v3, int v4);
    // A blood-pressure result or end frame's values: the only values drawn as result rows.
    void SetResultValues(int v1, int v2, int v3, int v4);
    void SetMaxMin(bool on, int max1, int min1, int max2, int min2);
    void SetSensor(uint8_t type, const QString& name);
    void SetMeasuring(bool measuring);
    void SetAmplitude(int amplitude);
};

}  // namespace somatrix
