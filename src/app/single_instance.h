#pragma once

#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace dravik {

// Two windows on one data folder would overwrite each other's files, so only one program runs per data
// folder. The running one holds a lock file in the folder and listens on a local socket; a later start
// finds the lock taken, asks the running one over the socket to bring its window forward, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Start {
        Primary,    // this process is the one instance (or no lock could be made at all): go on
        Forwarded,  // another instance runs and answered that its window is coming forward
        Unanswered, // another instance holds the lock but gave no answer in time
    };
    Q_ENUM(Start)

    // How long a later start keeps trying to reach the running instance.
    static constexpr int kAnswerTimeoutMs = 8000;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // Ensures the data folder and takes its lock. A lock left behind by a process that is gone is
    // taken over; if the running instance ends meanwhile, this one takes its place.
    Start start(int timeoutMs = kAnswerTimeoutMs);

    // The window that requests bring forward. A request that comes before the window is shown is
    // answered but changes nothing: the window comes up in front when it is shown.
    void setWindow(QWidget* window);

    // Where the lock lives and the name the running instance listens on, for a data folder.
    static QString lockFilePath(const QString& dataFolder);
    static QString serverName(const QString& dataFolder);

signals:
    // A later start asked for the window (emitted once per request, before it is answered).
    void forwardRequested();

private:
    bool listen(const QString& name);
    void serve(QLocalSocket* socket);
    static bool askToComeForward(const QString& name, int timeoutMs);

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QPointer<QWidget> window_;
};

// What a start does with the answer of SingleInstance::start(): nothing when it goes on as the one
// instance, otherwise the exit code to end with: 0 once the running copy came forward, 1 when it did
// not answer, which the user is told in the message box rather than seeing nothing happen.
std::optional<int> endOfLaterStart(SingleInstance::Start start);

// Shows the window if minimised, raises it and gives it the focus; a hidden window stays hidden.
void bringForward(QWidget* window);

} // namespace dravik
