#pragma once
// Lets GoogleTest show Qt strings as text in failure messages.
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& str, std::ostream* pOut) {
    *pOut << '"' << str.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* pOut) {
    *pOut << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}
