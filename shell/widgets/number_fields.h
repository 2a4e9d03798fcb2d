#pragma once
// Number fields that take only what they can hold, and the mark a field gets
// while its text is no valid value.

class QLineEdit;

namespace merkwald {

// Whole numbers from `bottom` to `top`; while typing, a number with no more
// digits than `top` is let through, so that the check on use can name it.
void accept_whole_numbers(QLineEdit& field, int bottom, int top);
// Decimal numbers with a point, signed when `signed_values`.
void accept_decimal_numbers(QLineEdit& field, bool signed_values);

// Marks a field whose text is no valid value (or clears the mark).
void mark_invalid(QLineEdit& field, bool invalid);
[[nodiscard]] bool marked_invalid(const QLineEdit& field);

}  // namespace merkwald
