#include "app/settings/QVLoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString QVLoginItem::entryPath(const QString& identifier)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
        + identifier + QStringLiteral(".desktop");
}

QString QVLoginItem::executable()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (!path.isEmpty() && QFileInfo(path).fileName() == QLatin1String("voltara"))
        return path;
    return QStringLiteral("voltara");
}

QByteArray QVLoginItem::entryContents(const QString& executable)
{
    // Exec arguments with reserved characters are quoted, with \ " ` $ escaped inside the quotes.
    QString exec = executable;
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (QChar c : exec)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (needsQuotes) {
        QString quoted;
        for (QChar c : exec) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        exec = u'"' + quoted + u'"';
    }
    exec.replace(u'%', QStringLiteral("%%"));
    // Inside a desktop-file value a backslash itself is written as two.
    exec.replace(u'\\', QStringLiteral("\\\\"));

    QByteArray out;
    out += "[Desktop Entry]\n";
    out += "Type=Application\n";
    out += "Name=Voltara\n";
    out += "Comment=Battery monitor in the system tray\n";
    out += "Exec=" + exec.toUtf8() + "\n";
    out += "Icon=battery\n";
    out += "Terminal=false\n";
    out += "NoDisplay=true\n";
    out += "X-GNOME-Autostart-enabled=true\n";
    return out;
}

bool QVLoginItem::setEnabled(const QString& identifier, bool enabled)
{
    const QString path = entryPath(identifier);
    if (!enabled) {
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return true;
        return QFile::remove(path);
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray contents = entryContents(executable());
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool QVLoginItem::isEnabled(const QString& identifier)
{
    return QFileInfo(entryPath(identifier)).isFile();
}
