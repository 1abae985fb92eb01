#include "widgets/shown_text.h"

#include <QTextDocument>

#include "text/codepage.h"

namespace sirelo {

QString ShownText(std::string_view gbk) {
    QString text = QString::fromStdString(GbkToUtf8(gbk));
    if (text.size() > kMaxShownCharacters) {
        text.truncate(kMaxShownCharacters);
        text += QChar(0x2026);
    }
    return text;
}

}  // namespace sirelo

namespace sirelo {

QString PlainToolTip(const QString& text) {
    // Zero-width spaces let the tooltip wrap a run without blanks.
    constexpr int kLongestRun = 60;
    QString breakable;
    int run = 0;
    for (const QChar c : text) {
        breakable += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run == kLongestRun) {
            breakable += QChar(0x200B);
            run = 0;
        }
    }
    return Qt::convertFromPlainText(breakable, Qt::WhiteSpaceNormal);
}

}  // namespace sirelo
