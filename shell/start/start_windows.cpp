#include "shell/start/start_windows.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/text_file.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/moon_picture.h"
#include "shell/main/list_render.h"

namespace merkwald {

SplashWindow::SplashWindow(const ProgramVersion& version, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      version_text_(QStringLiteral("Version ") + version.text()),
      timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("Intro"));
    setFixedSize(420, 240);
    timer_->setSingleShot(true);
    timer_->setInterval(kSplashMilliseconds);
    connect(timer_, &QTimer::timeout, this, &QDialog::accept);
    timer_->start();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(18, 30, 58));
    sky.setColorAt(1, QColor(34, 85, 51));
    p.fillRect(rect(), sky);
    p.drawImage(width() - 110, 24, draw_moon(12, 80));
    p.setPen(QColor(245, 235, 190));
    QFont title = font();
    title.setPointSize(28);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(28, 60, width() - 140, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kProductTitle));
    QFont small = font();
    small.setPointSize(11);
    p.setFont(small);
    p.drawText(QRect(28, 130, width() - 56, 30), Qt::AlignLeft | Qt::AlignVCenter, version_text_);
    p.drawText(QRect(28, 170, width() - 56, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Geburtstage, Termine und Gedenktage im Blick"));
}

void SplashWindow::keyPressEvent(QKeyEvent*) { accept(); }

void SplashWindow::mousePressEvent(QMouseEvent*) { accept(); }

TextWindow::TextWindow(const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent), field_(new QPlainTextEdit(this)), ok_(new QPushButton("OK", this)) {
    setWindowTitle(caption);
    field_->setReadOnly(true);
    field_->setPlainText(text);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field_);
    layout->addLayout(buttons);
    resize(560, 360);
}

QString TextWindow::text() const { return field_->toPlainText(); }

namespace {

QString news_text(const QString& folder) {
    const auto file = read_text_file(to_path(program_file(folder, QStringLiteral("neues.txt"))));
    if (!file) return {};
    std::string text;
    for_each_line(file->text, [&text](std::string_view line) {
        text.append(line).append("\n");
        return true;
    });
    return QString::fromStdString(text);
}

}  // namespace

WhatsNewWindow::WhatsNewWindow(const ProgramVersion& version, const QString& folder,
                               QWidget* parent)
    : TextWindow(QStringLiteral("Neues in ") + QString::fromLatin1(kProductTitle) +
                     QStringLiteral(" Version ") + version.text(),
                 news_text(folder), parent) {
    setObjectName(QStringLiteral("FirstStart"));
}

MissedEventsWindow::MissedEventsWindow(const QString& caption, const QString& text, QWidget* parent)
    : TextWindow(caption, text, parent) {
    setObjectName(QStringLiteral("DisplayMissed"));
    ok_button()->setObjectName(QStringLiteral("OKButton"));
    // The text indents only its first entry with two blanks; the margin indents
    // every entry alike instead.
    if (text.startsWith(QStringLiteral("  "))) field()->setPlainText(text.mid(2));
    field()->document()->setDocumentMargin(
        field()->document()->documentMargin() +
        field()->fontMetrics().horizontalAdvance(QStringLiteral("  ")));
}

}  // namespace merkwald
