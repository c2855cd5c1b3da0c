#include "ChineseInterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void UseChineseInterface()
{
    // The engine picks its error pages' language from the default locale when it starts.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    for (const char* catalogue : {"qtbase_zh_CN", "qtwebengine_zh_CN"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QString::fromLatin1(catalogue),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}
