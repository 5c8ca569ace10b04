#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// A named alert sound. Names are file names without their extension, found in the sound folders
// of the application (share/voltara/sounds next to the program, or resources/sounds of the source
// tree), the user ($XDG_DATA_HOME/sounds), the machine (/usr/local/share/sounds) and the system
// (/usr/share/sounds), searched in that order and through their sub-folders. Only files that
// really hold a sound (an Ogg or a RIFF/WAVE file) count. Sounds play through libcanberra on a
// worker thread, so playing never blocks and a machine without audio simply stays silent.
class SystemSound {
public:
    enum class Domain { Application, User, Local, Network, System };

    // The sounds folder of one domain, or an empty string when that domain has none here.
    static QString soundsFolder(Domain domain);

    // The sound of that name, or null when no folder holds a loadable sound of that name.
    static std::shared_ptr<SystemSound> soundNamed(const QString& name);
    // The sound in that file, or null when the file does not hold a sound.
    static std::shared_ptr<SystemSound> soundWithContentsOfFile(const QString& path);
    // Whether the file starts like a sound libcanberra can play (Ogg or RIFF/WAVE).
    static bool isLoadableSoundFile(const QString& path);

    QString name() const { return m_name; }
    QString path() const { return m_path; }

    // Starts playing without waiting; false only when the request could not even be handed over.
    bool play();
    // Stops this sound if it still plays.
    void stop();

private:
    SystemSound(QString name, QString path);

    QString m_name;
    QString m_path;
    quint32 m_id;
};
