#pragma once
// The windows of the start: the splash, the what-is-new window and the
// missed-events window.
//
// objectName -> class: `Intro` SplashWindow, `FirstStart` WhatsNewWindow,
// `DisplayMissed` MissedEventsWindow (its `OKButton` ok_button).

#include <QDialog>
#include <QString>

#include "shell/start/program_version.h"

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace merkwald {

inline constexpr int kSplashMilliseconds = 2000;

class SplashWindow final : public QDialog {
public:
    explicit SplashWindow(const ProgramVersion& version, QWidget* parent = nullptr);
    [[nodiscard]] QString version_text() const { return version_text_; }
    [[nodiscard]] QTimer& timer() { return *timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString version_text_;
    QTimer* timer_;
};

// A caption, a read-only text and one button that closes the window.
class TextWindow : public QDialog {
public:
    TextWindow(const QString& caption, const QString& text, QWidget* parent = nullptr);
    [[nodiscard]] QString text() const;
    [[nodiscard]] QPushButton* ok_button() const { return ok_; }

protected:
    [[nodiscard]] QPlainTextEdit* field() const { return field_; }

private:
    QPlainTextEdit* field_;
    QPushButton* ok_;
};

class WhatsNewWindow final : public TextWindow {
public:
    // `folder` holds "neues.txt"; a missing file leaves the text empty.
    WhatsNewWindow(const ProgramVersion& version, const QString& folder, QWidget* parent = nullptr);
};

// Caption and text as the engine's missed view gives them.
class MissedEventsWindow final : public TextWindow {
public:
    MissedEventsWindow(const QString& caption, const QString& text, QWidget* parent = nullptr);
};

}  // namespace merkwald
