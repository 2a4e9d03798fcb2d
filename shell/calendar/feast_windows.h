#pragma once
// The holiday list and the church-year list: a year field whose every change
// lists that year's feasts (1901-2098; any other year lists nothing).
//
// objectName -> member: `Calc1` HolidayListWindow, `Calc2` ChurchYearWindow,
// `Text1` year_edit, `List1` feast_list, `Command1` back_button.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "calendar/state_holidays.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace merkwald {

// The leading number of the field's text, rounded down; 0 for text without one.
[[nodiscard]] int year_of_field(const QString& text);

class FeastListWindow : public QDialog {
    Q_OBJECT
public:
    using Lines = std::function<std::vector<std::string>(int year)>;

    [[nodiscard]] QLineEdit* year_edit() const { return year_edit_; }
    [[nodiscard]] QListWidget* feast_list() const { return feast_list_; }
    [[nodiscard]] QPushButton* back_button() const { return back_; }
    [[nodiscard]] QStringList lines() const;

protected:
    FeastListWindow(const QString& caption, Lines lines, int current_year, QWidget* parent);

private:
    void fill_list(const QString& text);

    Lines lines_;
    QLineEdit* year_edit_;
    QListWidget* feast_list_;
    QPushButton* back_;
};

class HolidayListWindow final : public FeastListWindow {
    Q_OBJECT
public:
    HolidayListWindow(int current_year, QWidget* parent = nullptr);

    // Adds the list `List2` of the state's legal days off in the field's year.
    void show_state_days(State state);
    // Null until a state is shown.
    [[nodiscard]] QListWidget* state_list() const { return state_list_; }

private:
    QListWidget* state_list_ = nullptr;
};

class ChurchYearWindow final : public FeastListWindow {
    Q_OBJECT
public:
    ChurchYearWindow(int current_year, QWidget* parent = nullptr);
};

}  // namespace merkwald
