#pragma once
// The main window under test: an offscreen application, a program folder and a
// settings store in temporary folders, a manual clock, scripted dialogs and a
// recorded sound. Ending the program and modal windows are recorded, never run.

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include "../support/scripted_platform.h"
#include "../support/settings_test_support.h"
#include "shell/main/day_timers.h"
#include "shell/main/main_window.h"
#include "shell/start/start_windows.h"

namespace merkwald::test {

inline QApplication& gui_application() {
    static int argc = 1;
    static char name[] = "shell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

// What a modal window showed when it was "opened".
struct ShownWindow {
    QString kind;  // the objectName; "Intro" for the splash
    QString text;
};

// One record due on the fixture's day.
inline constexpr char kToday[] = "<record>\n<date=05.03.1999>\nHeute\n</record>\n";

// Remembers what it was told instead of touching the system.
class MemoryAutostart final : public AutostartEntry {
public:
    AutostartChoice current() const override { return state; }
    bool apply(const AutostartChoice& choice) override {
        if (refuses) return false;
        state = choice.enabled ? choice : AutostartChoice{};
        return true;
    }
    AutostartChoice state;
    bool refuses = false;  // as an entry the system does not take
};

// Types `text` key by key into `widget`, as the keyboard would.
inline void type_into(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&widget, &press);
    }
}

inline QDateTime at(int year, int month, int day, int h = 12, int m = 0, int s = 0) {
    return QDateTime(QDate(year, month, day), QTime(h, m, s));
}

class GuiFixture {
public:
    GuiFixture() : clock(at(1999, 3, 5)) {
        gui_application();
        folder = QDir(program_dir.path()).absolutePath();
    }
    // With the data file "main.rmd" holding `main_text`.
    explicit GuiFixture(const std::string& main_text) : GuiFixture() {
        write(QStringLiteral("main.rmd"), main_text);
    }

    // A file in the program folder; "\n" become CRLF.
    void write(const QString& name, const std::string& text) const {
        write_file(folder + u'/' + name, QByteArray::fromStdString(text).replace("\n", "\r\n"));
    }

    // A file as the project ships it, copied into the program folder.
    void copy_shipped(const QString& name) const {
        QFile::copy(QStringLiteral(MERKWALD_SOURCE_DIR "/data/") + name, folder + u'/' + name);
    }

    void set(std::string_view name, StoreValue value) {
        store.store().create_key(kMainKey, kKeyClass);
        store.store().set_value(kMainKey, name, value);
    }
    [[nodiscard]] std::optional<std::string> stored(std::string_view name) {
        StoreValue value;
        if (!store.store().query_value(kMainKey, name, value)) return std::nullopt;
        if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
        if (const auto* t = std::get_if<std::string>(&value)) return *t;
        return std::string();
    }

    // A window as the program would start it; `start()` is up to the test.
    std::unique_ptr<MainWindow> window(const std::string& command_line,
                                       ProgramKind kind = ProgramKind::full) {
        auto form = std::make_unique<MainWindow>(
            store.store(), Services{clock, dialogs, sound},
            WindowOptions{kind, folder, CommandLine(command_line), version});
        form->set_end_handler([this] { ++ends; });
        form->set_modal_runner([this](QDialog& dialog) { record(dialog); });
        return form;
    }

    // Starts a window with the data file "main.rmd" unless the store names another.
    std::unique_ptr<MainWindow> started(const std::string& command_line = "no_logo",
                                        ProgramKind kind = ProgramKind::full) {
        if (!stored("DataFilename")) set("DataFilename", std::string("main.rmd"));
        auto form = window(command_line, kind);
        form->start();
        return form;
    }

    [[nodiscard]] static std::string plain(const MainWindow& form) {
        return form.event_list().toPlainText().toStdString();
    }

    QTemporaryDir program_dir;
    QString folder;
    TempStore store;
    ManualClock clock;
    ScriptedDialogs dialogs;
    RecordingSound sound;
    ProgramVersion version{1, 5, 12};
    int ends = 0;
    std::vector<ShownWindow> shown;

private:
    void record(QDialog& dialog) {
        ShownWindow w{dialog.objectName(), {}};
        if (auto* intro = dynamic_cast<SplashWindow*>(&dialog))
            w = {QStringLiteral("Intro"), intro->version_text()};
        if (auto* text = dynamic_cast<TextWindow*>(&dialog)) w.text = text->text();
        shown.push_back(w);
    }
};

}  // namespace merkwald::test
