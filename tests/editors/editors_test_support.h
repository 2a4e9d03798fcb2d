#pragma once
// An offscreen application and the services of the editing windows, for the
// editors' tests; the file helpers are the editing tests'.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "editors/editor_context.h"
#include "editors/records/record_commands.h"
#include "tests/editing/editing_test_support.h"
#include "tests/support/scripted_platform.h"

namespace merkwald::test {

// Created once, on first use, and never destroyed: destroying it among the exit
// handlers, after Qt's own statics are gone, crashes.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "editors_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Runs `action` on the next modal dialog as soon as it is shown.
// The wait ends with `context`: a test that expects no dialog passes an object
// of its own scope, so the action cannot outlive what it refers to.
inline void when_modal(std::function<void(QWidget*)> action, QObject* context = qApp) {
    QTimer::singleShot(0, context, [action = std::move(action), context]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else {
            when_modal(std::move(action), context);
        }
    });
}

inline void click_button(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == text) return b->click();
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

// Replaces the field's text key by key, as the keyboard would.
inline void retype(QLineEdit& field, const QString& text) {
    field.clear();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
    }
}

// Everything a window of the editors is given, with scripted dialogs.
struct EditorWorld {
    explicit EditorWorld(DaySerial today = day(1999, 3, 5))
        : store(SettingsStore::file_store(QString::fromStdString((folder / "store.ini").string()))),
          settings(default_settings(QString::fromStdString(folder.path().string()))),
          engine(EngineSettings{}, today, folder.path()),
          clock(QDateTime(QDate(ymd_of(today).year, ymd_of(today).month, ymd_of(today).day),
                          QTime(12, 0))),
          services{clock, dialogs, sound},
          context{settings, engine, folder.path(), services} {
        application();
        settings.text_filename = MERKWALD_TEST_DATA "/texte.dat";
        settings.data_filename = (folder / "main.rmd").string();
    }

    TempFolder folder;
    SettingsStore store;
    Settings settings;
    EngineState engine;
    ScriptedDialogs dialogs;
    ManualClock clock;
    RecordingSound sound;
    Services services;
    EditorContext context;
};

// Records what the main window would be asked to do.
class RecordingHost final : public EditorHost {
public:
    explicit RecordingHost(EditorWorld& w) : world(w) {}

    QWidget* dialog_parent() override { return nullptr; }
    void run_modal_command(std::function<void()> command, bool refresh_after) override {
        timer_paused = true;
        command();
        timer_paused = false;
        if (refresh_after) ++refreshes;
    }
    void show_data_with_lead_days(int) override {}
    Settings& settings() override { return world.settings; }
    SettingsStore& settings_store() override { return world.store; }
    EngineState& engine_state() override { return world.engine; }
    QString program_folder() const override {
        return QString::fromStdString(world.folder.path().string());
    }
    Services& services() override { return world.services; }
    void set_main_file(const std::string&) override {}
    std::vector<std::string> file_list() const override { return {"main.rmd"}; }

    EditorWorld& world;
    bool timer_paused = false;
    int refreshes = 0;
};

}  // namespace merkwald::test
