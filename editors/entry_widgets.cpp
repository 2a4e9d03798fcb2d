#include "editors/entry_widgets.h"

#include <QIntValidator>
#include <QLineEdit>

#include "editors/editor_context.h"

namespace merkwald {

QPushButton* plain_button(const QString& text, const char* object_name) {
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    if (object_name != nullptr) button->setObjectName(QString::fromLatin1(object_name));
    return button;
}

QComboBox* lead_time_combo(const QStringList& items, const std::string& preset) {
    auto* combo = new QComboBox;
    combo->setObjectName(QStringLiteral("VorlaufCombo"));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    // A lead time beyond 16 bits would make the reader give up on the whole file.
    combo->setValidator(new QIntValidator(0, 32767, combo));
    combo->setEditText(to_qstring(preset));
    combo->setMinimumContentsLength(5);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return combo;
}

QComboBox* template_combo(const std::vector<TextTemplate>& templates, int position) {
    auto* combo = new QComboBox;
    combo->setObjectName(QStringLiteral("FormatCombo"));
    for (const TextTemplate& t : templates) combo->addItem(to_qstring(t.caption));
    combo->setCurrentIndex(position);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(30);
    return combo;
}

QLabel* color_swatch() {
    auto* swatch = new QLabel;
    swatch->setObjectName(QStringLiteral("FarbeLabel"));
    swatch->setFixedSize(48, 20);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    swatch->setAccessibleName(QStringLiteral("Gewählte Farbe"));
    return swatch;
}

void show_color(QLabel* swatch, std::int32_t color) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, to_qcolor(std::uint32_t(color)));
    swatch->setPalette(palette);
}

WriteOutcome write_asking_utf8(Dialogs& dialogs, QWidget* parent, const std::filesystem::path& file,
                               const std::function<WriteOutcome(Utf8Change)>& write) {
    WriteOutcome outcome = write(Utf8Change::ask);
    if (!outcome.is(WriteFailure::needs_utf8)) return outcome;
    const QString question = QString::fromStdString(utf8_question(file));
    if (dialogs.message(parent, question, MessageIcon::question, MessageButtons::yes_no) ==
        MessageAnswer::yes) {
        return write(Utf8Change::allowed);
    }
    return outcome;
}

}  // namespace merkwald
