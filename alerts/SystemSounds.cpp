#include "alerts/SystemSounds.h"

#include "platform/notify/SystemSound.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <initializer_list>

namespace {

QStringList soundsInDomains(std::initializer_list<SystemSound::Domain> domains)
{
    QStringList names;
    for (SystemSound::Domain domain : domains) {
        const QString folder = SystemSound::soundsFolder(domain);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            it.next();
            if (auto sound = SystemSound::soundWithContentsOfFile(it.filePath()))
                names << sound->name();
        }
    }
    // Plain comparison of the UTF-16 units, independent of the locale.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.compare(b) < 0; });
    return names;
}

} // namespace

QStringList kz_allSoundsArray()
{
    using D = SystemSound::Domain;
    return soundsInDomains({D::User, D::Local, D::Network, D::System, D::Application});
}

QStringList kz_userSoundsArray()
{
    return soundsInDomains({SystemSound::Domain::User});
}

QStringList kz_systemSoundsArray()
{
    return soundsInDomains({SystemSound::Domain::System, SystemSound::Domain::Application});
}
