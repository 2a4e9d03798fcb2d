#pragma once
// Scripted stand-ins for the clock, the dialogs and the sound: tests set what the
// "user" answers and read back what was shown.

#include <deque>
#include <vector>

#include "shell/platform.h"

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
        if (answers.empty())
            return buttons == MessageButtons::yes_no ? MessageAnswer::yes : MessageAnswer::ok;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
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
    std::optional<QColor> color(QWidget*, const QColor&) override {
        if (colors.empty()) return std::nullopt;
        const auto c = colors.front();
        colors.pop_front();
        return c;
    }
    std::optional<QFont> font(QWidget*, const QFont&) override {
        if (fonts.empty()) return std::nullopt;
        const auto f = fonts.front();
        fonts.pop_front();
        return f;
    }

    std::vector<Shown> messages;
    std::deque<MessageAnswer> answers;  // empty: OK (or Yes)
    std::deque<QString> file_names;     // empty: cancelled
    std::deque<QString> filters;        // the filter left selected; empty: the first
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QFont>> fonts;

private:
    static QString next(std::deque<QString>& q) {
        if (q.empty()) return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

class RecordingSound final : public SoundPlayer {
public:
    void play(const QString& file) override { played.push_back(file); }
    std::vector<QString> played;
};

}  // namespace merkwald::test
