// Each program as it starts: the full program with its menus, toolbar and
// editing tools, the light one bare. A warning of Qt's about the program's own
// widgets (an ambiguous shortcut, a layout set twice, a connection to nothing)
// is a fault a user meets as a key or a button that does nothing.

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "../shell/gui_test_support.h"
#include "../support/keyboard_walk.h"
#include "apps/merkwald/menus.h"
#include "shell/start/program_main.h"

namespace merkwald::test {
namespace {

QStringList warnings;

void keep_warning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) warnings.append(text);
}

TEST(ProgramStart, EachProgramStartsWithoutAWarningAndF5ReadsAgain) {
    for (const ProgramKind kind : {ProgramKind::full, ProgramKind::light}) {
        SCOPED_TRACE(kind == ProgramKind::full ? "merkwald" : "merklight");
        GuiFixture f(kToday);
        f.set("DataFilename", std::string("main.rmd"));
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keep_warning);
        auto form = f.window("no_logo", kind);
        std::unique_ptr<MainWindowHost> host;
        if (kind == ProgramKind::full) host = compose_full_program(*form, f.version);
        ASSERT_TRUE(form->start());
        activate(*form);
        f.write(QStringLiteral("main.rmd"), "<record>\n<date=05.03.1999>\nNeu\n</record>\n");
        QTest::keyClick(form.get(), Qt::Key_F5);
        EXPECT_NE(GuiFixture::plain(*form).find("Neu"), std::string::npos);
        form->close();
        qInstallMessageHandler(previous);
        EXPECT_EQ(warnings.join(u'\n').toStdString(), "");
    }
}

// The desktop ties a window to its menu entry by the window class (X11) or the
// desktop file's name (Wayland): each program names its own entry.
TEST(ProgramStart, EachProgramNamesItsOwnDesktopEntry) {
    gui_application();
    for (const char* executable : {"merkwald", "merklight"}) {
        SCOPED_TRACE(executable);
        name_application(
            executable == std::string("merkwald") ? ProgramKind::full : ProgramKind::light,
            ProgramVersion{1, 0, 0});
        QFile entry(QStringLiteral(MERKWALD_SOURCE_DIR "/data/") +
                    QGuiApplication::desktopFileName() + QStringLiteral(".desktop"));
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << entry.fileName().toStdString();
        const QStringList lines = QString::fromUtf8(entry.readAll()).split(u'\n');
        EXPECT_TRUE(lines.contains(QStringLiteral("Exec=") + QString::fromLatin1(executable)));
        EXPECT_TRUE(lines.contains(QStringLiteral("StartupWMClass=") +
                                   QCoreApplication::applicationName()));
    }
}

}  // namespace
}  // namespace merkwald::test
