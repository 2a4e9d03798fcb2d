#include "shell/start/single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <utility>

#include "settings/command_line.h"
#include "shell/main/main_window.h"

namespace merkwald {
namespace {

// Long enough for a loaded desktop, short enough that a hung copy does not keep
// the next start waiting for long.
constexpr int kConnectMilliseconds = 1500;

// The display in the socket name keeps copies on different displays apart.
QString session_part() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    QString part;
    for (const QChar c : display) part += c.isLetterOrNumber() ? c : u'_';
    return part.isEmpty() ? QString() : u'-' + part;
}

}  // namespace

SingleInstance::SingleInstance(QString server_name, QObject* parent)
    : QObject(parent), name_(std::move(server_name)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::take_connection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::server_name(const QString& program) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + u'/' + program + session_part() + QStringLiteral(".socket");
}

bool SingleInstance::hand_over(const QStringList& arguments) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectMilliseconds)) return false;
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << arguments;
    socket.write(block);
    const bool sent = socket.waitForBytesWritten(kConnectMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::listen(Handler handler) {
    handler_ = std::move(handler);
    // Asked first: with access options set, listen() puts its socket in place
    // by renaming and would take the name from a live copy without an error.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kConnectMilliseconds)) return false;
    // Nobody answers: whatever is left under the name is a crashed copy's.
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::take_connection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read_from(*socket); });
        read_from(*socket);
    }
}

void SingleInstance::read_from(QLocalSocket& socket) {
    // The arguments may come in pieces; the transaction waits for the whole list.
    QDataStream in(&socket);
    in.startTransaction();
    QStringList arguments;
    in >> arguments;
    if (!in.commitTransaction()) return;
    if (!open_) {
        waiting_ = std::move(arguments);
    } else if (handler_) {
        handler_(arguments);
    }
}

void SingleInstance::open() {
    open_ = true;
    if (!waiting_) return;
    const QStringList arguments = *std::exchange(waiting_, std::nullopt);
    if (handler_) handler_(arguments);
}

void apply_second_start(MainWindow& window, const CommandLine& words) {
    if (words.once() || window.ended()) return;
    window.show_main_window();
    if (const auto file = words.file()) {
        window.set_main_file(*file);
        window.show_data();
    }
}

}  // namespace merkwald
