#pragma once
// One running copy per program, user and desktop session. A second start hands
// its command words to the running copy through a local socket and ends; the
// running copy brings its window forward. The socket lives in the user's runtime
// folder; one left behind by a crash is taken over by the next start.

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class QLocalSocket;

namespace merkwald {

class MainWindow;
class CommandLine;

class SingleInstance final : public QObject {
public:
    using Handler = std::function<void(const QStringList& arguments)>;

    explicit SingleInstance(QString server_name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name of `program` ("merkwald", "merklight") for this user and
    // desktop session.
    [[nodiscard]] static QString server_name(const QString& program);

    // True when a running copy took `arguments` (the program name first); this
    // start should then end.
    bool hand_over(const QStringList& arguments) const;
    // Becomes the running copy; each later start's arguments reach `handler`
    // once open() was called. Returns false when the name cannot be taken (the
    // program runs on, alone).
    bool listen(Handler handler);
    // Until now later starts waited (the running copy was still starting); the
    // last of them is handled now, the ones to come at once.
    void open();

private:
    void take_connection();
    void read_from(QLocalSocket& socket);

    QString name_;
    QLocalServer server_;
    Handler handler_;
    bool open_ = false;
    std::optional<QStringList> waiting_;
};

// What the running program does with a later start's command words: show its
// window; "/file=" makes that file the main file and refreshes. A "/once" start
// ends silently: the running copy has started already and keeps its list current.
void apply_second_start(MainWindow& window, const CommandLine& words);

}  // namespace merkwald
