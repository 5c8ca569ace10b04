#include "app/QVSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray kReopen = "reopen\n";
const QByteArray kAcknowledged = "ok\n";
} // namespace

QVSingleInstance::QVSingleInstance(QObject* parent)
    : QObject(parent)
{
}

QVSingleInstance::~QVSingleInstance()
{
    if (m_server)
        m_server->close();
}

QString QVSingleInstance::runtimeDirectory()
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    const QString fallback = QDir::tempPath() + QStringLiteral("/voltara-%1").arg(::getuid());
    QDir().mkpath(fallback);
    QFile::setPermissions(fallback, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return fallback;
}

QString QVSingleInstance::socketPath()
{
    return runtimeDirectory() + QStringLiteral("/voltara.socket");
}

QString QVSingleInstance::lockPath()
{
    return runtimeDirectory() + QStringLiteral("/voltara.lock");
}

bool QVSingleInstance::becomePrimary()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    m_lock->setStaleLockTime(0);   // a lock is stale only when its process is gone
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    // The lock is ours, so a socket file left behind is from a Voltara that died.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath()))
        return true;   // still the only Voltara; a later one just cannot reach it
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine();
                if (line == kReopen) {
                    socket->write(kAcknowledged);
                    socket->flush();
                    emit reopenRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool QVSingleInstance::notifyPrimary(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kReopen);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kAcknowledged;
}
