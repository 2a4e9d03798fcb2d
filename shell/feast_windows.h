#pragma once
// The holiday list `Calc1` and the church-year list `Calc2`: a year field whose
// every change lists that year's feasts (1901-2098; any other year lists nothing).

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

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

    [[nodiscard]] QLineEdit* text1() const { return text1_; }
    [[nodiscard]] QListWidget* list1() const { return list1_; }
    [[nodiscard]] QPushButton* back_button() const { return back_; }
    [[nodiscard]] QStringList lines() const;

protected:
    FeastListWindow(const QString& caption, Lines lines, int current_year, QWidget* parent);

private:
    void fill_list(const QString& text);

    Lines lines_;
    QLineEdit* text1_;
    QListWidget* list1_;
    QPushButton* back_;
};

class Calc1 final : public FeastListWindow {
    Q_OBJECT
public:
    Calc1(int current_year, QWidget* parent = nullptr);
};

class Calc2 final : public FeastListWindow {
    Q_OBJECT
public:
    Calc2(int current_year, QWidget* parent = nullptr);
};

}  // namespace merkwald
