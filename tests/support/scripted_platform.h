#pragma once
// Scripted stand-ins for the clock, the dialogs and the sound: tests set what the
// "user" answers and read back what was shown.

#include <deque>
#include <functional>
#include <vector>

#include "shell/platform/platform.h"

namespace merkwald::test {

class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start) : now_(std::move(start)) {}
    [[nodiscard]] QDateTime now() const override { return now_; }
    void set(QDateTime t) { now_ = std::move(t); }
    void advance_seconds(qint64 s) { now_ = now_.addSecs(s); }

private:
    QDateTime now_;
};

class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        QString title;
    };

    MessageAnswer message(QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons,
                          const QString& title) override {
        messages.push_back({text, icon, buttons, title});
        // What the "user" or the system does while the box is open.
        if (while_open) while_open(messages.back());
        if (answers.empty())
            return buttons == MessageButtons::yes_no ? MessageAnswer::yes : MessageAnswer::ok;
        return next(answers);
    }
    QString open_file_name(QWidget*, const QString&, const QString&, const QString&) override {
        return next(file_names);
    }
    QString save_file_name(QWidget*, const QString&, const QString&, const QString&) override {
        return next(file_names);
    }
    QString save_file_name_of_type(QWidget*, const QString&, const QString&, const QString&,
                                   QString& chosen_filter) override {
        if (!filters.empty()) chosen_filter = next(filters);
        return next(file_names);
    }
    std::optional<QColor> color(QWidget*, const QColor&) override { return next(colors); }
    std::optional<QFont> font(QWidget*, const QFont&) override { return next(fonts); }
    std::optional<QString> password(QWidget*, const QString&, const QString&) override {
        QString typed = next(passwords);
        if (typed.isNull()) return std::nullopt;
        return typed;
    }

    std::vector<Shown> messages;
    std::function<void(const Shown&)> while_open;
    std::deque<MessageAnswer> answers;  // empty: OK (or Yes)
    std::deque<QString> file_names;     // empty: cancelled
    std::deque<QString> filters;        // the filter left selected; empty: the first
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QFont>> fonts;
    std::deque<QString> passwords;  // a null string: cancelled

private:
    // The next scripted answer; none left: the empty value (cancelled).
    template <class T>
    static T next(std::deque<T>& q) {
        if (q.empty()) return {};
        T value = std::move(q.front());
        q.pop_front();
        return value;
    }
};

class RecordingSound final : public SoundPlayer {
public:
    void play(const QString& file) override { played.push_back(file); }
    std::vector<QString> played;
};

}  // namespace merkwald::test
