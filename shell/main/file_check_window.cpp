#include "shell/main/file_check_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/file_check.h"
#include "settings/qt_bridges.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

QString file_check_report(const EngineState& state, const std::string& main_file) {
    const std::vector<FileProblem> problems = check_files(state, main_file);
    if (problems.empty()) return QStringLiteral("Keine Probleme gefunden.");
    QString text;
    for (const FileProblem& problem : problems) text += to_qstring(problem_line(problem)) + u'\n';
    return text;
}

FileCheckWindow::FileCheckWindow(const QString& report, QWidget* parent)
    : QDialog(parent), report_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("FileCheck"));
    setWindowTitle(QStringLiteral("Dateien prüfen"));
    report_->setObjectName(QStringLiteral("CheckReport"));
    report_->setReadOnly(true);
    // A problem's line names a path and a whole text line: wrapped, it can be read
    // without scrolling sideways, and a path without blanks breaks anywhere.
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    report_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report_->setPlainText(report);
    auto* back = new QPushButton(QStringLiteral("Zurück"), this);
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(report_, 1);
    layout->addLayout(bottom);
    resize(640, 400);
    centre_on_screen(*this);
}

}  // namespace merkwald
