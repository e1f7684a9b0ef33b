#pragma once
// Dialog layouts are given in dialog units of their 9-point font; one fixed scale turns them
// into pixels so every dialog keeps its proportions: 4 horizontal units are one average
// character (6 px), 8 vertical units one line (13 px).
#include <QFont>
#include <QRect>

namespace tessaly {

inline int DluX(int n) {
    return (n * 6 + 2) / 4;
}
inline int DluY(int n) {
    return (n * 13 + 4) / 8;
}
inline QRect DluRect(int x, int y, int w, int h) {
    return QRect(DluX(x), DluY(y), DluX(w), DluY(h));
}

// 宋体 9 point, or the nearest Chinese font the system has.
inline QFont DialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC")});
    font.setPointSize(9);
    return font;
}

}  // namespace tessaly
