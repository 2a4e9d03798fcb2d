// The four pages of the options dialog.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/options/options_dialog.h"
#include "shell/options/options_general.h"
#include "shell/widgets/number_fields.h"

namespace merkwald {

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* browse_button(QWidget* parent, const char* name) {
    auto* button = named(new QPushButton(QStringLiteral("..."), parent), name);
    button->setToolTip(QStringLiteral("Datei auswählen"));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return button;
}

// A label above a field with its browse button.
void add_file_row(QVBoxLayout& layout, QWidget* page, const QString& caption, QLineEdit* field,
                  QPushButton* button) {
    auto* label = new QLabel(caption, page);
    label->setBuddy(field);
    layout.addWidget(label);
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(button);
    layout.addLayout(row);
    layout.addSpacing(6);
}

QLabel* colour_sample(QWidget* parent, const char* name) {
    auto* sample = named(new QLabel(parent), name);
    sample->setFrameShape(QFrame::Box);
    sample->setFixedSize(48, 22);
    sample->setAutoFillBackground(true);
    return sample;
}

}  // namespace

QWidget* OptionsDialog::build_files_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    files_.data_file_edit = named(new QLineEdit(page), "Text1");
    files_.editor_edit = named(new QLineEdit(page), "Text2");
    files_.text_file_edit = named(new QLineEdit(page), "Text3");
    files_.data_file_button = browse_button(page, "Command2");
    files_.editor_button = browse_button(page, "Command3");
    files_.text_file_button = browse_button(page, "Command1");
    files_.data_file_edit->setToolTip(
        QStringLiteral("Die Erinnerungsdatei, die beim Start gelesen wird"));
    files_.editor_edit->setToolTip(
        QStringLiteral("Das Programm, das \"Texteditor starten\" mit der Datei aufruft"));
    files_.text_file_edit->setToolTip(
        QStringLiteral("Die Textbausteine, die der Datensatz-Editor zum Einfügen anbietet"));
    add_file_row(*layout, page, QStringLiteral("Start Daten Datei:"), files_.data_file_edit,
                 files_.data_file_button);
    add_file_row(*layout, page, QStringLiteral("Standard Text Editor:"), files_.editor_edit,
                 files_.editor_button);
    add_file_row(*layout, page, QStringLiteral("Einfüg Text Datei:"), files_.text_file_edit,
                 files_.text_file_button);
    // Reading order: each field, then its button.
    QWidget::setTabOrder(files_.data_file_edit, files_.data_file_button);
    QWidget::setTabOrder(files_.data_file_button, files_.editor_edit);
    QWidget::setTabOrder(files_.editor_edit, files_.editor_button);
    QWidget::setTabOrder(files_.editor_button, files_.text_file_edit);
    QWidget::setTabOrder(files_.text_file_edit, files_.text_file_button);
    files_.data_file_button->setAccessibleName(QStringLiteral("Start Daten Datei auswählen"));
    files_.editor_button->setAccessibleName(QStringLiteral("Standard Text Editor auswählen"));
    files_.text_file_button->setAccessibleName(QStringLiteral("Einfüg Text Datei auswählen"));
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::build_sound_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    sound_.play_sound_box =
        named(new QCheckBox(QStringLiteral("Sound Effekte"), page), "CheckSound");
    sound_.play_sound_box->setToolTip(
        QStringLiteral("Die Klangdatei abspielen, wenn ein Ereignis auf heute fällt"));
    sound_.sound_file_edit = named(new QLineEdit(page), "TextSound");
    sound_.sound_file_button = browse_button(page, "Command4");
    layout->addWidget(sound_.play_sound_box);
    layout->addSpacing(6);
    add_file_row(*layout, page, QStringLiteral("Klangdatei:"), sound_.sound_file_edit,
                 sound_.sound_file_button);
    sound_.sound_file_button->setAccessibleName(QStringLiteral("Klangdatei auswählen"));
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::build_astronomy_page() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    astronomy_.place_combo = named(new QComboBox(page), "Combo4");
    astronomy_.place_combo->setEditable(true);
    astronomy_.place_combo->setInsertPolicy(QComboBox::NoInsert);
    astronomy_.place_combo->setMinimumContentsLength(18);
    astronomy_.place_combo->setToolTip(
        QStringLiteral("Ihr Wohnort für Sonnenzeiten und Mondphase"));
    auto* place_label = new QLabel(QStringLiteral("Ort:"), page);
    place_label->setBuddy(astronomy_.place_combo);
    grid->addWidget(place_label, 0, 0);
    grid->addWidget(astronomy_.place_combo, 0, 1);
    astronomy_.coordinates = add_coordinate_rows(*grid, 1, page);
    astronomy_.gmt_offset_edit = named(new QLineEdit(page), "Text8");
    astronomy_.height_edit = named(new QLineEdit(page), "Text4");
    for (QLineEdit* edit : {astronomy_.gmt_offset_edit, astronomy_.height_edit}) {
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
        accept_decimal_numbers(*edit, true);
    }
    astronomy_.gmt_offset_edit->setToolTip(
        QStringLiteral("Stunden, die die Ortszeit der Greenwich-Zeit voraus ist"));
    auto* gmt_label = new QLabel(QStringLiteral("Unterschied zur GMT: (Zeitzone)"), page);
    gmt_label->setBuddy(astronomy_.gmt_offset_edit);
    grid->addWidget(gmt_label, 3, 0);
    grid->addWidget(astronomy_.gmt_offset_edit, 3, 1);
    astronomy_.summer_time_box =
        named(new QCheckBox(QStringLiteral("Sommerzeit"), page), "CheckSommer");
    grid->addWidget(astronomy_.summer_time_box, 4, 1);
    QCheckBox* summer_time_auto =
        add_summer_time_auto(*grid, 4, *astronomy_.summer_time_box, settings_);
    // Row by row: the height's field comes after the summer time's boxes.
    QWidget::setTabOrder(astronomy_.summer_time_box, summer_time_auto);
    QWidget::setTabOrder(summer_time_auto, astronomy_.height_edit);
    auto* height_label = new QLabel(QStringLiteral("Höhe über NN:"), page);
    height_label->setBuddy(astronomy_.height_edit);
    grid->addWidget(height_label, 5, 0);
    grid->addWidget(astronomy_.height_edit, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* OptionsDialog::build_misc_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* look = new QGridLayout;
    misc_.text_colour_sample = colour_sample(page, "FarbeTextLabel");
    misc_.background_colour_sample = colour_sample(page, "FarbeBackLabel");
    misc_.text_colour_button =
        named(new QPushButton(QStringLiteral("Farbe"), page), "FarbeTextButton");
    misc_.background_colour_button =
        named(new QPushButton(QStringLiteral("Farbe"), page), "FarbeBackButton");
    misc_.font_button =
        named(new QPushButton(QStringLiteral("Schriftart"), page), "font_change_button");
    misc_.text_colour_button->setToolTip(QStringLiteral("Farbe der Einträge ohne eigene Farbe"));
    misc_.background_colour_button->setToolTip(QStringLiteral("Hintergrundfarbe der Liste"));
    misc_.font_button->setToolTip(QStringLiteral("Schriftart der Liste"));
    misc_.text_colour_button->setAccessibleName(QStringLiteral("Standard Text Farbe wählen"));
    misc_.background_colour_button->setAccessibleName(
        QStringLiteral("Standard Hintergrund wählen"));
    misc_.text_colour_sample->setAccessibleName(QStringLiteral("Standard Text Farbe"));
    misc_.background_colour_sample->setAccessibleName(QStringLiteral("Standard Hintergrund"));
    look->addWidget(new QLabel(QStringLiteral("Standard Text Farbe:"), page), 0, 0);
    look->addWidget(misc_.text_colour_sample, 0, 1);
    look->addWidget(misc_.text_colour_button, 0, 2);
    look->addWidget(new QLabel(QStringLiteral("Standard Hintergrund:"), page), 1, 0);
    look->addWidget(misc_.background_colour_sample, 1, 1);
    look->addWidget(misc_.background_colour_button, 1, 2);
    look->addWidget(misc_.font_button, 2, 2);
    look->setColumnStretch(3, 1);
    layout->addLayout(look);
    layout->addWidget(build_misc_checks(page));
    auto* interval = new QHBoxLayout;
    misc_.interval_edit = named(new QLineEdit(page), "Text5");
    misc_.interval_edit->setFixedWidth(
        misc_.interval_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    accept_whole_numbers(*misc_.interval_edit, 0, 99999);
    misc_.interval_edit->setToolTip(QStringLiteral("0 oder kein Wert: alle 60 Minuten"));
    interval->addWidget(misc_.interval_edit);
    auto* interval_label =
        new QLabel(QStringLiteral("Minuten nach dem Merkwald aktualisiert wird"), page);
    interval_label->setBuddy(misc_.interval_edit);
    interval->addWidget(interval_label, 1);
    layout->addLayout(interval);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::build_misc_checks(QWidget* page) {
    auto* box = new QGroupBox(page);
    auto* grid = new QGridLayout(box);
    const auto check = [box](const char* caption, const char* name) {
        return named(new QCheckBox(QString::fromUtf8(caption), box), name);
    };
    misc_.no_blank_lines_box = check("keine Leerzeilen", "CheckSpace");
    misc_.groups_off_box = check("Gruppen ausschalten", "CheckGroups");
    misc_.missed_events_box = check("abgelaufene Termine anzeigen", "CheckMissed");
    misc_.standby_box = check("Stand By bei Eingabetaste", "CheckStandby");
    misc_.autostart_box = check("Merkwald beim Windows Start starten", "AutostartCheck");
    misc_.start_once_box = check("nur beim 1. Start am Tag", "CheckStartOnce");
#ifndef Q_OS_WIN
    // The same choice, kept where this desktop looks for it.
    misc_.autostart_box->setText(QStringLiteral("Merkwald beim Anmelden starten"));
#endif
    misc_.no_blank_lines_box->setToolTip(QStringLiteral("Keine Leerzeile zwischen den Gruppen"));
    misc_.missed_events_box->setToolTip(
        QStringLiteral("Beim Start die seit dem letzten Start verpassten Ereignisse zeigen"));
    misc_.standby_box->setToolTip(QStringLiteral(
        "Die Schaltfläche \"Ende\" verbirgt das Fenster nur (Symbol im Infobereich)"));
    misc_.start_once_box->setToolTip(
        QStringLiteral("Beim Anmelden nur starten, wenn Merkwald heute noch nicht lief"));
    grid->addWidget(misc_.no_blank_lines_box, 0, 0);
    grid->addWidget(misc_.groups_off_box, 0, 1);
    grid->addWidget(misc_.missed_events_box, 1, 0);
    grid->addWidget(misc_.standby_box, 1, 1);
    grid->addWidget(misc_.autostart_box, 2, 0);
    grid->addWidget(misc_.start_once_box, 2, 1);
    return box;
}

}  // namespace merkwald
