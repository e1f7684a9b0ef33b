#pragma once
// The text of the log area: time-stamped lines joined by "\r\n", kept short by dropping all but
// the newest 300 characters once it passes 20000. Owned by the main dialog.
#include <QDateTime>
#include <QString>

namespace tessaly {

class CLogText {
public:
    static constexpr qsizetype kMaxChars = 20000;
    static constexpr qsizetype kKeptChars = 300;

    // "yyyy-mm-dd hh:mm:ss: " followed by the message.
    static QString FormatLine(const QDateTime& time, const QString& strMessage);

    // Adds one line stamped with `time`; an empty message adds nothing. False when nothing was
    // added.
    bool Append(const QString& strMessage, const QDateTime& time);

    const QString& GetText() const { return m_strText; }

private:
    QString m_strText;
};

}  // namespace tessaly
