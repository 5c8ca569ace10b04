#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One tray application per user session. The first Voltara holds a lock file and listens on a
// local socket in $XDG_RUNTIME_DIR; a later one finds the lock taken, tells the first to reopen
// and exits.
class QVSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit QVSingleInstance(QObject* parent = nullptr);
    ~QVSingleInstance() override;

    // Takes the lock and starts listening. False when another Voltara already runs.
    bool becomePrimary();
    // Asks the running Voltara to reopen. True when it answered.
    bool notifyPrimary(int timeoutMs = 3000);

    // The folder of the lock and the socket ($XDG_RUNTIME_DIR, else a private folder in /tmp).
    static QString runtimeDirectory();
    static QString socketPath();
    static QString lockPath();

signals:
    // Another Voltara was started.
    void reopenRequested();

private:
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
