#include "shell/widgets/number_fields.h"

#include <QIntValidator>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace merkwald {

namespace {
constexpr char kInvalidProperty[] = "merkwaldInvalid";
}

void accept_whole_numbers(QLineEdit& field, int bottom, int top) {
    field.setValidator(new QIntValidator(bottom, top, &field));
}

void accept_decimal_numbers(QLineEdit& field, bool signed_values) {
    // The point whatever the locale says: the stored values are written that way.
    const QString pattern = signed_values ? QStringLiteral(R"(\s*[+-]?\d*(\.\d*)?\s*)")
                                          : QStringLiteral(R"(\s*\d*(\.\d*)?\s*)");
    field.setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), &field));
}

void mark_invalid(QLineEdit& field, bool invalid) {
    if (marked_invalid(field) == invalid) return;
    field.setProperty(kInvalidProperty, invalid);
    // The text's colour goes with the light mark: a dark theme's light text would
    // not be read on it.
    field.setStyleSheet(
        invalid ? QStringLiteral("QLineEdit { background: #ffd7d7; color: #000000; }") : QString());
}

bool marked_invalid(const QLineEdit& field) { return field.property(kInvalidProperty).toBool(); }

}  // namespace merkwald
