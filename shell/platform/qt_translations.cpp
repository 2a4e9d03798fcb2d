#include "shell/platform/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace merkwald {

QStringList qt_translation_folders(const QString& executable_folder) {
    QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    if (!executable_folder.isEmpty())
        folders << QDir::cleanPath(executable_folder +
                                   QStringLiteral("/../share/qt6/translations"));
    return folders;
}

bool install_qt_translations(QCoreApplication& app, const QStringList& folders) {
    // Dates, sizes and file types in Qt's dialogs follow the default locale, which is
    // the desktop's (often "C" or English) unless told.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders) {
        if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace merkwald
