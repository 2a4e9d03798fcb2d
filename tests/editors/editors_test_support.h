#pragma once
// Temporary folders, file bytes, an offscreen application and the services of
// the editing windows, for the editors' tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "calendar/date_serial.h"
#include "editors/editor_context.h"
#include "editors/record_commands.h"
#include "engine/engine_state.h"
#include "engine/refresh.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scripted_platform.h"

namespace merkwald::test {

inline std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names of the files in `folder`.
inline std::set<std::string> names_in(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

inline std::string latin1(std::string_view utf8) { return *utf8_to_windows1252(utf8); }

// A record with the lines of `body` (separated by '|') and the line end `end`.
inline std::string record(const std::string& body, std::string_view end = "\r\n") {
    std::string text = "<record>" + std::string(end);
    for (std::size_t pos = 0;;) {
        const std::size_t next = body.find('|', pos);
        text += body.substr(pos, next - pos) + std::string(end);
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return text + "</record>" + std::string(end);
}

inline int count_of(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class TempFolder {
public:
    TempFolder() : path_(dir_.path().toStdString()) {}
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

private:
    QTemporaryDir dir_;
    std::filesystem::path path_;
};

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

inline DaySerial day(int y, int m, int d) { return *make_date(y, m, d); }

// What the list shows on `today` when it reads `file` as the programs do: each
// entry's text (without its final line break) and every message of the read.
struct Listed {
    std::vector<std::string> texts;
    std::vector<std::string> messages;
};
inline Listed listed_on(const std::filesystem::path& file, DaySerial today, int lead_days = 0) {
    EngineState state(EngineSettings{}, today, file.parent_path());
    state.lead_days = lead_days;
    RefreshTables tables;
    RecordingSink sink;
    refresh(state, tables, file.filename().string(), sink);
    Listed listed;
    for (const LineEntry& line : tables.lines) {
        std::string text = line.text;
        while (text.ends_with("\r\n")) text.resize(text.size() - 2);
        listed.texts.push_back(text);
    }
    for (const RecordingSink::Shown& shown : sink.shown) listed.messages.push_back(shown.text);
    return listed;
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

namespace merkwald {
using test::latin1;
using test::names_in;
using test::read_bytes;
using test::record;
using test::TempFolder;
using test::write_bytes;
}  // namespace merkwald
