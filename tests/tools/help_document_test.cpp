#include "DemoFolder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace demotest;

namespace {

struct ReadRtf {
    QString text;
    bool balanced = true;
    QString problem;
};

// A small RTF reader: the text of the document, with \uN escapes decoded, control words dropped
// and \par as a line break.
ReadRtf readRtf(const QByteArray& rtf)
{
    ReadRtf read;
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0 || (depth == 0 && i != rtf.trimmed().size() - 1)) read.balanced = false;
        } else if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                read.text += QLatin1Char(next);
                ++i;
                continue;
            }
            if (next == '\'') read.problem = QStringLiteral("a code-page escape");
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(uchar(rtf[j]))) ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            const qsizetype numberStart = j;
            if (j < rtf.size() && rtf[j] == '-') ++j;
            while (j < rtf.size() && std::isdigit(uchar(rtf[j]))) ++j;
            const QByteArray number = rtf.mid(numberStart, j - numberStart);
            if (j < rtf.size() && rtf[j] == ' ') ++j;
            if (word == "u") {
                read.text += QChar(char16_t(number.toInt()));
                if (j < rtf.size() && rtf[j] == '?') ++j;
            } else if (word == "par") {
                read.text += QLatin1Char('\n');
            }
            i = j - 1;
        } else if (c != '\n' && c != '\r') {
            read.text += QLatin1Char(c);
        }
    }
    if (depth != 0) read.balanced = false;
    return read;
}

} // namespace

TEST(HelpDocument, IsAnAsciiRtfGuideInBulgarian)
{
    QFile file(demoShopFile(QStringLiteral("Help.doc")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << "not an RTF document";
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
        << "letters outside ASCII must be \\u escapes";

    const ReadRtf read = readRtf(rtf);
    EXPECT_TRUE(read.balanced) << "braces do not close the document exactly once";
    EXPECT_TRUE(read.problem.isEmpty()) << read.problem.toStdString();
    for (const char* words : {"Тервин за детски стоки", "Вход", "Витрина", "Търсене", "Кошница и продажба",
                              "Фактури", "Справки", "„Потвърди вход“", "admin", "8642", "Danni.xls"})
        EXPECT_TRUE(read.text.contains(QString::fromUtf8(words))) << words;
    EXPECT_GT(read.text.count(QLatin1Char('\n')), 20) << "the guide should have its paragraphs";
}
