#pragma once
// The date sort choice of the record list and the look-ahead days of the main
// window's toolbar (the date picker is the shell's, shell/widgets/date_picker.h).

#include <QDialog>
#include <optional>

#include "calendar/date_serial.h"
#include "editing/record_rows.h"

class QLineEdit;
class QRadioButton;

namespace merkwald {

// Lives as long as the record list, so that it offers the choice made before.
class SelectDateSort final : public QDialog {
    Q_OBJECT
public:
    explicit SelectDateSort(QWidget* parent);
    [[nodiscard]] DateOrder order() const;
    [[nodiscard]] bool descending() const;
    void set_choice(DateOrder order, bool descending);

private:
    QRadioButton* day_;
    QRadioButton* month_;
    QRadioButton* year_;
    QRadioButton* down_;
    QRadioButton* up_;
};

// -1 for an empty field (normal lead times); otherwise the whole number at the
// start of the text, 0 when there is none.
[[nodiscard]] int parse_lead_override(const QString& text);

class GlobalActiveSet final : public QDialog {
    Q_OBJECT
public:
    // `current` is shown when it is greater than 0.
    GlobalActiveSet(QWidget* parent, int current);
    [[nodiscard]] int lead_override() const { return override_; }
    [[nodiscard]] QLineEdit* days_field() const { return days_; }

    // Shows the dialog modally and answers the override (-1: none).
    [[nodiscard]] static int ask(QWidget* parent, int current);

private:
    void confirm();
    QLineEdit* days_;
    int override_ = -1;
};

}  // namespace merkwald
