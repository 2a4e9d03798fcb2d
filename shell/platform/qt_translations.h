#pragma once
// Qt's own German texts: the standard dialogs (file, colour, font, print), the
// text boxes' context menu and the standard buttons speak the program's language
// whatever the desktop's language is.

#include <QStringList>

class QCoreApplication;

namespace merkwald {

// Where Qt's translations are looked for: Qt's own folder, then one beside an
// installation that brings its own.
[[nodiscard]] QStringList qt_translation_folders(const QString& executable_folder);

// Makes German the default locale and loads "qtbase_de" from the first folder
// holding it into `app`; false when none does (the dialogs then stay English).
bool install_qt_translations(QCoreApplication& app, const QStringList& folders);

}  // namespace merkwald
