#include "widgets/shown_text.h"

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
