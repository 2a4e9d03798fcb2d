#pragma once
// What windows must not take from the platform directly, so tests can script it:
// the clock, message boxes, file/colour/font dialogs and sound. Each has a Qt
// implementation here and a scripted one in tests/support.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <optional>

#include "engine/messages.h"

class QWidget;

namespace merkwald {

class Clock {
public:
    virtual ~Clock() = default;
    // Local date and time.
    [[nodiscard]] virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    [[nodiscard]] QDateTime now() const override { return QDateTime::currentDateTime(); }
};

enum class MessageButtons { ok, ok_cancel, yes_no };
enum class MessageAnswer { ok, cancel, yes, no };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box; the title is the program's name unless given.
    virtual MessageAnswer message(QWidget* parent, const QString& text, MessageIcon icon,
                                  MessageButtons buttons = MessageButtons::ok,
                                  const QString& title = QString()) = 0;
    // Empty when cancelled.
    virtual QString open_file_name(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filter) = 0;
    virtual QString save_file_name(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filter) = 0;
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    // A line typed without echo; nullopt when cancelled.
    virtual std::optional<QString> password(QWidget* parent, const QString& caption,
                                            const QString& label) = 0;
    // As save_file_name, for a file whose type the filter picks: `chosen_filter`
    // comes in as the filter shown first and goes out as the one left selected.
    virtual QString save_file_name_of_type(QWidget* parent, const QString& caption,
                                           const QString& folder, const QString& filter,
                                           QString& chosen_filter) {
        (void)chosen_filter;
        return save_file_name(parent, caption, folder, filter);
    }
};

class QtDialogs final : public Dialogs {
public:
    MessageAnswer message(QWidget* parent, const QString& text, MessageIcon icon,
                          MessageButtons buttons, const QString& title) override;
    QString open_file_name(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& filter) override;
    QString save_file_name(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& filter) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    std::optional<QString> password(QWidget* parent, const QString& caption,
                                    const QString& label) override;
    QString save_file_name_of_type(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filter, QString& chosen_filter) override;
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing and returns at once; a file or device that cannot play is no error.
    virtual void play(const QString& file) = 0;
};

// The engine's messages shown as message boxes (OK button).
class DialogSink final : public MessageSink {
public:
    DialogSink(Dialogs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}
    void show_message(std::string_view text, MessageIcon icon) override;
    void set_parent(QWidget* parent) { parent_ = parent; }

private:
    Dialogs& dialogs_;
    QWidget* parent_;
};

// What a window is given instead of reaching for the platform.
struct Services {
    Clock& clock;
    Dialogs& dialogs;
    SoundPlayer& sound;
};

// Colour numbers (red + 256 * green + 65536 * blue) and QColor.
[[nodiscard]] QColor to_qcolor(std::uint32_t color_number);
[[nodiscard]] std::uint32_t to_color_number(const QColor& color);

}  // namespace merkwald
