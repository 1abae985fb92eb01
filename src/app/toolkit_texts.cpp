#include "app/toolkit_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sirelo {

bool InstallChineseToolkitTexts() {
    // Lives as long as the application that uses it.
    static QTranslator translator;
    return translator.load(QStringLiteral("qtbase_zh_CN"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&translator);
}

}  // namespace sirelo
