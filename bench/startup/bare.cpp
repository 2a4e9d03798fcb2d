// The yardstick: a bare Qt program that shows one QTextEdit and quits.

#include <QApplication>
#include <QTextEdit>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextEdit edit;
    edit.setPlainText(QStringLiteral("Freitag, 5.3.1999"));
    edit.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
