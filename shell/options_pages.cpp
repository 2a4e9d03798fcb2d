// The four pages of `FormOptions`.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/options_dialog.h"

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

QWidget* FormOptions::build_files_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    files_.text1 = named(new QLineEdit(page), "Text1");
    files_.text2 = named(new QLineEdit(page), "Text2");
    files_.text3 = named(new QLineEdit(page), "Text3");
    files_.command2 = browse_button(page, "Command2");
    files_.command3 = browse_button(page, "Command3");
    files_.command1 = browse_button(page, "Command1");
    files_.text1->setToolTip(QStringLiteral("Die Erinnerungsdatei, die beim Start gelesen wird"));
    files_.text2->setToolTip(
        QStringLiteral("Das Programm, das \"Texteditor starten\" mit der Datei aufruft"));
    files_.text3->setToolTip(
        QStringLiteral("Die Textbausteine, die der Datensatz-Editor zum Einfügen anbietet"));
    add_file_row(*layout, page, QStringLiteral("Start Daten Datei:"), files_.text1,
                 files_.command2);
    add_file_row(*layout, page, QStringLiteral("Standard Text Editor:"), files_.text2,
                 files_.command3);
    add_file_row(*layout, page, QStringLiteral("Einfüg Text Datei:"), files_.text3,
                 files_.command1);
    layout->addStretch(1);
    return page;
}

QWidget* FormOptions::build_sound_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    sound_.check_sound = named(new QCheckBox(QStringLiteral("Sound Effekte"), page), "CheckSound");
    sound_.check_sound->setToolTip(
        QStringLiteral("Die Klangdatei abspielen, wenn ein Ereignis auf heute fällt"));
    sound_.text_sound = named(new QLineEdit(page), "TextSound");
    sound_.command4 = browse_button(page, "Command4");
    layout->addWidget(sound_.check_sound);
    layout->addSpacing(6);
    add_file_row(*layout, page, QStringLiteral("Klangdatei:"), sound_.text_sound, sound_.command4);
    layout->addStretch(1);
    return page;
}

QWidget* FormOptions::build_astronomy_page() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    astro_.combo4 = named(new QComboBox(page), "Combo4");
    astro_.combo4->setEditable(true);
    astro_.combo4->setInsertPolicy(QComboBox::NoInsert);
    astro_.combo4->setMinimumContentsLength(18);
    astro_.combo4->setToolTip(QStringLiteral("Ihr Wohnort für Sonnenzeiten und Mondphase"));
    grid->addWidget(new QLabel(QStringLiteral("Ort:"), page), 0, 0);
    grid->addWidget(astro_.combo4, 0, 1);
    astro_.coordinates = add_coordinate_rows(*grid, 1, page);
    astro_.text8 = named(new QLineEdit(page), "Text8");
    astro_.text4 = named(new QLineEdit(page), "Text4");
    for (QLineEdit* edit : {astro_.text8, astro_.text4})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    astro_.text8->setToolTip(QStringLiteral("Stunden, die die Ortszeit der Greenwich-Zeit voraus ist"));
    grid->addWidget(new QLabel(QStringLiteral("Unterschied zur GMT: (Zeitzone)"), page), 3, 0);
    grid->addWidget(astro_.text8, 3, 1);
    astro_.check_sommer = named(new QCheckBox(QStringLiteral("Sommerzeit"), page), "CheckSommer");
    grid->addWidget(astro_.check_sommer, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Höhe über NN:"), page), 5, 0);
    grid->addWidget(astro_.text4, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* FormOptions::build_misc_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* look = new QGridLayout;
    misc_.farbe_text_label = colour_sample(page, "FarbeTextLabel");
    misc_.farbe_back_label = colour_sample(page, "FarbeBackLabel");
    misc_.farbe_text_button = named(new QPushButton(QStringLiteral("Farbe"), page), "FarbeTextButton");
    misc_.farbe_back_button = named(new QPushButton(QStringLiteral("Farbe"), page), "FarbeBackButton");
    misc_.font_change_button =
        named(new QPushButton(QStringLiteral("Schriftart"), page), "font_change_button");
    misc_.farbe_text_button->setToolTip(QStringLiteral("Farbe der Einträge ohne eigene Farbe"));
    misc_.farbe_back_button->setToolTip(QStringLiteral("Hintergrundfarbe der Liste"));
    misc_.font_change_button->setToolTip(QStringLiteral("Schriftart der Liste"));
    look->addWidget(new QLabel(QStringLiteral("Standard Text Farbe:"), page), 0, 0);
    look->addWidget(misc_.farbe_text_label, 0, 1);
    look->addWidget(misc_.farbe_text_button, 0, 2);
    look->addWidget(new QLabel(QStringLiteral("Standard Hintergrund:"), page), 1, 0);
    look->addWidget(misc_.farbe_back_label, 1, 1);
    look->addWidget(misc_.farbe_back_button, 1, 2);
    look->addWidget(misc_.font_change_button, 2, 2);
    look->setColumnStretch(3, 1);
    layout->addLayout(look);
    layout->addWidget(build_misc_checks(page));
    auto* interval = new QHBoxLayout;
    misc_.text5 = named(new QLineEdit(page), "Text5");
    misc_.text5->setFixedWidth(misc_.text5->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    misc_.text5->setToolTip(QStringLiteral("0 oder kein Wert: alle 60 Minuten"));
    interval->addWidget(misc_.text5);
    interval->addWidget(
        new QLabel(QStringLiteral("Minuten nach dem Merkwald aktualisiert wird"), page), 1);
    layout->addLayout(interval);
    layout->addStretch(1);
    return page;
}

QWidget* FormOptions::build_misc_checks(QWidget* page) {
    auto* box = new QGroupBox(page);
    auto* grid = new QGridLayout(box);
    const auto check = [box](const char* caption, const char* name) {
        return named(new QCheckBox(QString::fromUtf8(caption), box), name);
    };
    misc_.check_space = check("keine Leerzeilen", "CheckSpace");
    misc_.check_groups = check("Gruppen ausschalten", "CheckGroups");
    misc_.check_missed = check("abgelaufene Termine anzeigen", "CheckMissed");
    misc_.check_standby = check("Stand By bei Eingabetaste", "CheckStandby");
    misc_.autostart_check = check("Merkwald beim Windows Start starten", "AutostartCheck");
    misc_.check_start_once = check("nur beim 1. Start am Tag", "CheckStartOnce");
#ifndef Q_OS_WIN
    // The same choice, kept where this desktop looks for it.
    misc_.autostart_check->setText(QStringLiteral("Merkwald beim Anmelden starten"));
#endif
    misc_.check_space->setToolTip(QStringLiteral("Keine Leerzeile zwischen den Gruppen"));
    misc_.check_missed->setToolTip(
        QStringLiteral("Beim Start die seit dem letzten Start verpassten Ereignisse zeigen"));
    misc_.check_standby->setToolTip(QStringLiteral(
        "Die Schaltfläche \"Ende\" verbirgt das Fenster nur (Symbol im Infobereich)"));
    misc_.check_start_once->setToolTip(
        QStringLiteral("Beim Anmelden nur starten, wenn Merkwald heute noch nicht lief"));
    grid->addWidget(misc_.check_space, 0, 0);
    grid->addWidget(misc_.check_groups, 0, 1);
    grid->addWidget(misc_.check_missed, 1, 0);
    grid->addWidget(misc_.check_standby, 1, 1);
    grid->addWidget(misc_.autostart_check, 2, 0);
    grid->addWidget(misc_.check_start_once, 2, 1);
    return box;
}

}  // namespace merkwald
