#pragma once
// `ConvertForm` ("Konvertierung"): copies a reminder file of the older form
// into a new file with colour numbers in place of colour names.

#include <QDialog>

#include "editors/editor_context.h"

class QLineEdit;

namespace merkwald {

class ConvertForm final : public QDialog {
    Q_OBJECT
public:
    ConvertForm(QWidget* parent, EditorContext& context);

    [[nodiscard]] QLineEdit* input_field() const { return input_field_; }
    [[nodiscard]] QLineEdit* output_field() const { return output_field_; }

    // "Konvertieren": the checks, then the conversion; closes on success.
    void convert();
    void browse_input();
    void browse_output();

private:
    [[nodiscard]] QString browse(const QString& caption);
    void message(const QString& text, MessageIcon icon);

    EditorContext& context_;
    QLineEdit* input_field_;
    QLineEdit* output_field_;
};

}  // namespace merkwald
