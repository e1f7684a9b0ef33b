#include "log_text.h"

#include "qt_print.h"

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

const QDateTime kTime(QDate(2024, 3, 5), QTime(7, 8, 9));

TEST(LogText, LineIsStampedWithZeroPaddedLocalTime) {
    EXPECT_EQ(CLogText::FormatLine(kTime, "32位系统"), QString("2024-03-05 07:08:09: 32位系统"));
    EXPECT_EQ(CLogText::FormatLine(QDateTime(QDate(987, 12, 31), QTime(23, 59, 58)), "x"),
              QString("0987-12-31 23:59:58: x"));
}

TEST(LogText, EmptyMessageAddsNothing) {
    CLogText log;
    EXPECT_FALSE(log.Append("", kTime));
    EXPECT_TRUE(log.GetText().isEmpty());
    log.Append("a", kTime);
    EXPECT_FALSE(log.Append(QString(), kTime));
    EXPECT_EQ(log.GetText(), QString("2024-03-05 07:08:09: a"));
}

TEST(LogText, TextPastTheLimitShrinksToItsLastThreeHundredCharacters) {
    CLogText log;
    log.Append(QString(20000 - 21, QChar('x')), kTime);  // the stamp takes 21 characters
    log.Append("y", kTime);                              // exactly 20000 before: kept whole
    const QString strBefore = log.GetText();
    ASSERT_EQ(strBefore.size(), 20000 + 2 + 22);

    log.Append("64位系统", kTime);
    EXPECT_EQ(log.GetText(),
              strBefore.right(300) + "\r\n" + CLogText::FormatLine(kTime, "64位系统"));
}

TEST(LogText, ShrinkingNeverStartsWithHalfACharacter) {
    CLogText log;
    const QString strEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    // The 300th unit from the end is the second half of the emoji.
    log.Append(QString(20000, QChar('x')) + strEmoji + QString(299, QChar('z')), kTime);
    log.Append("next", kTime);
    EXPECT_EQ(log.GetText(),
              QString(299, QChar('z')) + "\r\n" + CLogText::FormatLine(kTime, "next"));
}

}  // namespace
}  // namespace tessaly::test
