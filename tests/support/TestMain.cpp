#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs inside a QApplication on the offscreen platform, with the user's
// folders (settings, data, documents) redirected into a throw-away directory.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/run").toUtf8());
    QDir().mkpath(home.path() + "/run");
    QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QStandardPaths::setTestModeEnabled(false);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Voltara");
    QApplication::setOrganizationName("Voltara");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
