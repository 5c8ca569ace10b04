#include "platform/notify/SystemSound.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThreadPool>

#include <canberra.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <mutex>

namespace {

std::mutex g_contextLock;
ca_context* g_context = nullptr;
std::optional<std::chrono::steady_clock::time_point> g_lastFailure;
std::atomic<quint32> g_nextId{1};
// A machine without sound output is asked again only after a while (the sound server may start
// after Voltara does).
constexpr std::chrono::seconds kRetryAfterFailure{60};

// The one libcanberra context, opened on first use; null while no sound output is available.
ca_context* sharedContext()
{
    if (g_context)
        return g_context;
    const auto now = std::chrono::steady_clock::now();
    if (g_lastFailure && now - *g_lastFailure < kRetryAfterFailure)
        return nullptr;
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) {
        g_lastFailure = now;
        return nullptr;
    }
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Voltara", CA_PROP_APPLICATION_ID,
                            "org.voltara.Voltara", nullptr);
    if (ca_context_open(context) != CA_SUCCESS) {
        ca_context_destroy(context);
        g_lastFailure = now;
        return nullptr;
    }
    g_context = context;
    return g_context;
}

QString applicationSoundsFolder()
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/voltara/sounds");
    if (QFileInfo(installed).isDir())
        return QDir::cleanPath(installed);
    const QString source = QStringLiteral(VOLTARA_SOURCE_DIR "/resources/sounds");
    if (QFileInfo(source).isDir())
        return source;
    return {};
}

} // namespace

SystemSound::SystemSound(QString name, QString path)
    : m_name(std::move(name)), m_path(std::move(path)), m_id(g_nextId++)
{
}

QString SystemSound::soundsFolder(Domain domain)
{
    switch (domain) {
    case Domain::Application:
        return applicationSoundsFolder();
    case Domain::User:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sounds");
    case Domain::Local:
        return QStringLiteral("/usr/local/share/sounds");
    case Domain::Network:
        return {};
    case Domain::System:
        return QStringLiteral("/usr/share/sounds");
    }
    return {};
}

bool SystemSound::isLoadableSoundFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    if (head.startsWith("OggS"))
        return true;
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

std::shared_ptr<SystemSound> SystemSound::soundWithContentsOfFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !isLoadableSoundFile(path))
        return nullptr;
    return std::shared_ptr<SystemSound>(new SystemSound(info.completeBaseName(), info.absoluteFilePath()));
}

std::shared_ptr<SystemSound> SystemSound::soundNamed(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (Domain domain : {Domain::Application, Domain::User, Domain::Local, Domain::Network, Domain::System}) {
        const QString folder = soundsFolder(domain);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            it.next();
            if (it.fileInfo().completeBaseName() != name)
                continue;
            if (auto sound = soundWithContentsOfFile(it.filePath()))
                return sound;
        }
    }
    return nullptr;
}

bool SystemSound::play()
{
    const QByteArray path = QFile::encodeName(m_path);
    const quint32 id = m_id;
    // Opening the audio output may take a moment (or fail) on the first use; keep it off the caller.
    QThreadPool::globalInstance()->start([path, id] {
        std::lock_guard<std::mutex> lock(g_contextLock);
        if (ca_context* context = sharedContext())
            ca_context_play(context, id, CA_PROP_MEDIA_FILENAME, path.constData(), CA_PROP_EVENT_DESCRIPTION,
                            "Voltara alert", nullptr);
    });
    return true;
}

void SystemSound::stop()
{
    const quint32 id = m_id;
    QThreadPool::globalInstance()->start([id] {
        std::lock_guard<std::mutex> lock(g_contextLock);
        if (g_context)
            ca_context_cancel(g_context, id);
    });
}
