#include "shell/main/help_window.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/widgets/window_helpers.h"

namespace merkwald {

QString find_help_file(const QStringList& folders) {
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        const QFileInfo file(QDir(folder), QString::fromLatin1(kHelpFileName));
        if (file.isFile()) return file.absoluteFilePath();
    }
    return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Merkwald - Hilfe"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* back = new QPushButton(QStringLiteral("Zurück zum &Inhalt"), this);
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
    resize(760, 620);
}

bool HelpWindow::show_contents(const QString& file) {
    if (!QFileInfo(file).isFile()) return false;
    browser_->setSource(QUrl::fromLocalFile(file));
    browser_->home();
    return true;
}

QString about_text(const ProgramVersion& version) {
    return QStringLiteral(
               "Merkwald erinnert an Geburtstage, Namenstage, Termine und Feiertage.\n"
               "Die Benutzung geschieht auf eigene Gefahr; für die Richtigkeit der berechneten "
               "Daten wird keine Gewähr übernommen.\n\n"
               "Geschrieben vom Merkwald-Team\n\n"
               "Version %1 (entwickelt 2024-2025)\n\n"
               "Anregungen und Fehler bitte an\n"
               "das Merkwald-Team über das Fehlerverzeichnis des Projekts")
        .arg(version.text());
}

AboutWindow::AboutWindow(const ProgramVersion& version, QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(about_text(version), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("Über Merkwald"));
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    ok_->setDefault(true);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(label_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    setMinimumWidth(460);
    centre_on_screen(*this);
}

QString AboutWindow::text() const { return label_->text(); }

}  // namespace merkwald
