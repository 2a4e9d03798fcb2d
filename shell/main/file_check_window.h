#pragma once
// "Dateien prüfen": every problem of the file list's files, one per line as
// "FILE:LINE: text", in a window.
//
// objectName -> member: `FileCheck` FileCheckWindow, `CheckReport` report.

#include <QDialog>
#include <QString>
#include <string>

#include "engine/engine_state.h"

class QPlainTextEdit;

namespace merkwald {

// The report's text; a clean file list gets one sentence saying so.
[[nodiscard]] QString file_check_report(const EngineState& state, const std::string& main_file);

class FileCheckWindow final : public QDialog {
    Q_OBJECT
public:
    FileCheckWindow(const QString& report, QWidget* parent = nullptr);
    [[nodiscard]] QPlainTextEdit* report() const { return report_; }

private:
    QPlainTextEdit* report_;
};

}  // namespace merkwald
