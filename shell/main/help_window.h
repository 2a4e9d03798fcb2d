#pragma once
// The help window (the German help file "merkwald.html" at its contents) and the
// About window.
//
// objectName -> member: `HelpWindow` HelpWindow, `HelpBrowser` browser,
// `FormAbout` AboutWindow.

#include <QDialog>
#include <QStringList>

#include "shell/start/program_version.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace merkwald {

inline constexpr char kHelpFileName[] = "merkwald.html";

// The first of `folders` that holds the help file; empty when none does.
[[nodiscard]] QString find_help_file(const QStringList& folders);

class HelpWindow final : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the file from its beginning, the table of contents.
    bool show_contents(const QString& file);
    [[nodiscard]] QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// The About window's text: licence note, author, version and period, contacts.
[[nodiscard]] QString about_text(const ProgramVersion& version);

class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(const ProgramVersion& version, QWidget* parent = nullptr);
    [[nodiscard]] QString text() const;
    [[nodiscard]] QPushButton* ok_button() const { return ok_; }

private:
    QLabel* label_;
    QPushButton* ok_;
};

}  // namespace merkwald
