#include "log_text.h"

namespace tessaly {

QString CLogText::FormatLine(const QDateTime& time, const QString& strMessage) {
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:%.2d:%.2d: ", date.year(), date.month(),
                             date.day(), clock.hour(), clock.minute(), clock.second()) +
           strMessage;
}

bool CLogText::Append(const QString& strMessage, const QDateTime& time) {
    if (strMessage.isEmpty()) {
        return false;
    }
    if (m_strText.size() > kMaxChars) {
        m_strText = m_strText.right(kKeptChars);
        // A cut through a surrogate pair would leave half a character at the front.
        if (!m_strText.isEmpty() && m_strText.front().isLowSurrogate()) {
            m_strText.remove(0, 1);
        }
    }
    if (!m_strText.isEmpty()) {
        m_strText += QStringLiteral("\r\n");
    }
    m_strText += FormatLine(time, strMessage);
    return true;
}

}  // namespace tessaly
