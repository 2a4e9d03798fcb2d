#pragma once
// Printing the list `RTBox1`: its whole text, or the selection when the print
// dialog was asked for it.

class QPrinter;
class QTextEdit;
class QWidget;

namespace merkwald {

// Prints the box's document into `printer`; with the printer's print range at
// "selection" only the selected text.
void print_list(const QTextEdit& box, QPrinter& printer);

// The platform's print dialog, offering "selection" when text is selected; true
// when the user chose to print.
bool ask_printer(QPrinter& printer, bool has_selection, QWidget* parent);

}  // namespace merkwald
