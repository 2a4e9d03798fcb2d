#pragma once
// "Namenstage anzeigen" on the options page "Allgemein": which of the shipped
// name days the list shows. objectName -> member: `ComboNameDays` the combo box.

class QBoxLayout;
class QComboBox;
class QWidget;

namespace merkwald {

struct Settings;

// Adds the label and the combo box as a row to `layout`; a choice writes into
// `settings` at once, like the page's other controls.
QComboBox* add_name_day_choice(QBoxLayout& layout, Settings& settings, QWidget* parent);

}  // namespace merkwald
