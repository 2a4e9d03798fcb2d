#pragma once
// Temporary folders, file bytes, an offscreen application and the services of
// the editing windows, for the editors' tests.

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "calendar/date_serial.h"
#include "editors/editor_context.h"
#include "engine/engine_state.h"
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

inline bool exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
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
inline void when_modal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else {
            when_modal(std::move(action));
        }
    });
}

inline DaySerial day(int y, int m, int d) {
    return *make_date(y, m, d);
}

// Everything a window of the editors is given, with scripted dialogs.
struct EditorWorld {
    explicit EditorWorld(DaySerial today = day(1999, 3, 5))
        : store(SettingsStore::file_store(QString::fromStdString((folder / "store.ini").string()))),
          settings(default_settings(QString::fromStdString(folder.path().string()))),
          engine(EngineSettings{}, today, folder.path()),
          clock(QDateTime(to_qdate_of(today), QTime(12, 0))),
          services{clock, dialogs, sound},
          context{settings, store, engine, folder.path(), services} {
        application();
        settings.text_filename = MERKWALD_TEST_DATA "/texte.dat";
        settings.data_filename = (folder / "main.rmd").string();
    }

    static QDate to_qdate_of(DaySerial d) {
        const Ymd ymd = ymd_of(d);
        return QDate(ymd.year, ymd.month, ymd.day);
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

}  // namespace merkwald::test
