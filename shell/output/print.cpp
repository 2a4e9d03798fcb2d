#include "shell/output/print.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>

namespace merkwald {

void print_list(const QTextEdit& box, QPrinter& printer) {
    // QTextEdit::print honours the printer's selection range.
    box.print(&printer);
}

bool ask_printer(QPrinter& printer, bool has_selection, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Anzeige drucken"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, has_selection);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (has_selection) printer.setPrintRange(QPrinter::Selection);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace merkwald
