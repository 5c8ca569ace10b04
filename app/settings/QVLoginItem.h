#pragma once

#include <QString>

// The login item: an XDG autostart entry $XDG_CONFIG_HOME/autostart/<identifier>.desktop that
// starts Voltara when the user logs in. Enabling writes the entry atomically; disabling removes it.
class QVLoginItem {
public:
    // Returns false when the entry could not be written or removed.
    static bool setEnabled(const QString& identifier, bool enabled);
    static bool isEnabled(const QString& identifier);
    static QString entryPath(const QString& identifier);
    // The program the entry starts: this executable when it is voltara, otherwise "voltara" from PATH.
    static QString executable();
    static QByteArray entryContents(const QString& executable);
};
