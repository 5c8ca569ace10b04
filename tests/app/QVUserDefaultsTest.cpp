#include "app/settings/QVLoginItem.h"
#include "app/settings/QVUserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kHelper = QString::fromLatin1(QVUserDefaults::kLoginHelperIdentifier);

class QVUserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("Voltara.conf");
        autostart = QFileInfo(QVLoginItem::entryPath(kHelper)).absolutePath();
        removeAutostart();
    }
    void TearDown() override { removeAutostart(); }
    void removeAutostart()
    {
        QFileInfo info(autostart);
        if (info.isDir())
            QDir(autostart).removeRecursively();
        else
            QFile::remove(autostart);
    }
    std::unique_ptr<QVUserDefaults> make() { return std::make_unique<QVUserDefaults>(path); }

    QTemporaryDir dir;
    QString path;
    QString autostart;
};

TEST_F(QVUserDefaultsTest, FreshConfigurationReadsTheRegisteredDefaults)
{
    auto d = make();
    EXPECT_EQ(d->refreshInterval(), 30.0);
    EXPECT_TRUE(d->menuBarShowInfo());
    EXPECT_EQ(d->menuBarDisplay(), 0);
    EXPECT_EQ(d->menuBarColor(), 1);
    EXPECT_EQ(d->soundName(), "Submarine");
    EXPECT_EQ(d->defaultSoundName(), "Submarine");
    EXPECT_FALSE(d->hideWindowAtStartup());
    EXPECT_FALSE(d->showDockIcon());
    EXPECT_FALSE(d->startAtLogin());
    EXPECT_FALSE(d->isDocked());
    EXPECT_FALSE(d->isBackgroundApp());
    EXPECT_FALSE(d->shouldKeepAbove());
    EXPECT_FALSE(d->askedToImportHistory());
    EXPECT_TRUE(d->undockedFrame().isNull());

    // The eight alert entries come from the resource; amounts are preset levels.
    const QVariantMap n = d->notifications();
    const QVariantMap battery = n.value("Battery").toMap();
    const QVariantMap charging = n.value("Charging").toMap();
    EXPECT_EQ(battery.keys(), (QStringList{"level-amount", "level-enabled", "low-battery-enabled",
                                           "reminder-amount", "reminder-enabled"}));
    EXPECT_EQ(charging.keys(), (QStringList{"fully-charged-enabled", "level-amount", "level-enabled"}));
    const QList<int> presets{1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 99};
    for (const QVariant& amount : {battery.value("level-amount"), battery.value("reminder-amount"),
                                   charging.value("level-amount")})
        EXPECT_TRUE(presets.contains(amount.toInt())) << amount.toInt();

    // Nothing was written for a fresh configuration.
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(QVUserDefaultsTest, ValuesPersistAsReadableIniWithNestedNotifications)
{
    {
        auto d = make();
        d->setRefreshInterval(12.5);
        d->setMenuBarDisplay(1);
        d->setUndockedFrame("{{10, 20}, {300, 400}}");
        QVariantMap n = d->notifications();
        QVariantMap battery = n.value("Battery").toMap();
        battery["level-enabled"] = false;
        battery["level-amount"] = 30.0;
        n["Battery"] = battery;
        d->setNotifications(n);
    }
    QSettings raw(path, QSettings::IniFormat);
    EXPECT_EQ(raw.value("notifications/Battery/level-enabled").toString(), "0");
    EXPECT_EQ(raw.value("notifications/Battery/level-amount").toString(), "30");
    EXPECT_EQ(raw.value("menuBarDisplay").toString(), "1");

    auto d = make();
    EXPECT_EQ(d->refreshInterval(), 12.5);
    EXPECT_EQ(d->menuBarDisplay(), 1);
    EXPECT_EQ(d->undockedFrame(), "{{10, 20}, {300, 400}}");
    const QVariantMap battery = d->notifications().value("Battery").toMap();
    EXPECT_EQ(battery.value("level-enabled").typeId(), QMetaType::LongLong);
    EXPECT_FALSE(battery.value("level-enabled").toBool());
    EXPECT_EQ(battery.value("level-amount").toDouble(), 30.0);
    d->setUndockedFrame(QString());
    EXPECT_TRUE(d->undockedFrame().isNull());
}

TEST_F(QVUserDefaultsTest, StoredNotificationsGainMissingSectionsAndEntries)
{
    {
        QSettings raw(path, QSettings::IniFormat);
        raw.setValue("notifications/Battery/level-amount", 40);
        raw.setValue("notifications/Battery/low-battery-enabled", 0);
        raw.setValue("notifications/Custom/x", 7);
    }
    auto d = make();
    const QVariantMap n = d->notifications();
    const QVariantMap battery = n.value("Battery").toMap();
    EXPECT_EQ(battery.value("level-amount").toInt(), 40);          // stored entries win
    EXPECT_EQ(battery.value("low-battery-enabled").toInt(), 0);
    EXPECT_TRUE(battery.contains("reminder-amount"));               // missing entries added
    EXPECT_EQ(battery.size(), 5);
    EXPECT_EQ(n.value("Charging").toMap().size(), 3);               // missing section added whole
    EXPECT_EQ(n.value("Custom").toMap().value("x").toInt(), 7);     // unknown sections stay

    // The upgrade is written back into the file.
    QSettings raw(path, QSettings::IniFormat);
    EXPECT_TRUE(raw.contains("notifications/Charging/fully-charged-enabled"));
}

TEST(QVUserDefaultsUpgrade, SectionsThatAreNotDictionariesStay)
{
    const QVariantMap stored{{"Battery", 3}};
    const QVariantMap resource{{"Battery", QVariantMap{{"a", 1}}}, {"Charging", QVariantMap{{"b", 2}}}};
    const QVariantMap out = QVUserDefaults::upgradedNotifications(stored, resource);
    EXPECT_EQ(out.value("Battery").toInt(), 3);
    EXPECT_EQ(out.value("Charging").toMap().value("b").toInt(), 2);
}

TEST_F(QVUserDefaultsTest, MissingDefaultsResourceLeavesNotificationsEmpty)
{
    QVUserDefaults d(path, dir.filePath("absent.json"));
    EXPECT_TRUE(d.notifications().isEmpty());
    EXPECT_EQ(d.refreshInterval(), 30.0);

    QFile bad(dir.filePath("list.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[1, 2]");
    bad.close();
    QVUserDefaults d2(path, bad.fileName());
    EXPECT_TRUE(d2.notifications().isEmpty());
}

TEST_F(QVUserDefaultsTest, StoredEmptyNotificationsStayEmptyUntilTheNextStartUpgradesThem)
{
    auto d = make();
    ASSERT_FALSE(d->notifications().isEmpty());
    d->setNotifications({});
    EXPECT_TRUE(d->notifications().isEmpty());   // not the registered defaults
    d.reset();
    // A stored dictionary gains every missing section at the next start.
    auto again = make();
    EXPECT_EQ(again->notifications().keys(), (QStringList{"Battery", "Charging"}));
}

TEST_F(QVUserDefaultsTest, ObserversAreToldOnceForWritesThroughTheObjectOnly)
{
    auto d = make();
    QList<QVariant> seen;
    auto owner = std::make_unique<QObject>();
    d->addObserver("menuBarColor", [&](const QVariant& v) { seen << v; }, owner.get());
    int otherKey = 0;
    d->addObserver("menuBarDisplay", [&](const QVariant&) { ++otherKey; });

    d->setMenuBarColor(0);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].toLongLong(), 0);
    d->setMenuBarColor(0);   // every write is announced, changed or not
    EXPECT_EQ(seen.size(), 2);

    d->settings().setValue("menuBarColor", 1);   // bypasses the settings object
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(d->menuBarColor(), 1);             // but reads see it
    EXPECT_EQ(otherKey, 0);

    owner.reset();   // the observation ends with its owner
    d->setMenuBarColor(1);
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(QVUserDefaultsTest, StartAtLoginSwitchesTheAutostartEntry)
{
    const QString entry = QVLoginItem::entryPath(kHelper);
    auto d = make();
    QList<bool> seen;
    d->addObserver("startAtLogin", [&](const QVariant& v) { seen << v.toBool(); });

    d->setStartAtLogin(false);   // the held value: nothing happens
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    d->setStartAtLogin(true);
    EXPECT_TRUE(d->startAtLogin());
    ASSERT_TRUE(QFile::exists(entry));
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=voltara\n")) << text.constData();
    EXPECT_TRUE(make()->startAtLogin());   // read from the file at creation

    d->setStartAtLogin(false);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(make()->startAtLogin());
    EXPECT_EQ(seen, (QList<bool>{true, false}));
}

TEST_F(QVUserDefaultsTest, FailedAutostartChangeKeepsThePreviousValueAndLogs)
{
    struct Case {
        bool from;
        const char* message;
    };
    for (const Case& c : {Case{false, "DEBUG: Could not add com.orlent.qv2loginhelper to the login items"},
                          Case{true, "DEBUG: Could not remove com.orlent.qv2loginhelper to the login items"}}) {
        SCOPED_TRACE(c.message);
        removeAutostart();
        QFile::remove(path);
        if (c.from) {
            QSettings(path, QSettings::IniFormat).setValue("startAtLogin", true);
            // An entry that cannot be removed: a non-empty folder in its place.
            ASSERT_TRUE(QDir().mkpath(QVLoginItem::entryPath(kHelper) + "/x"));
        } else {
            // The autostart folder cannot be made: a file stands in its place.
            ASSERT_TRUE(QDir().mkpath(QFileInfo(autostart).absolutePath()));
            QFile blocker(autostart);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        }
        auto d = make();
        ASSERT_EQ(d->startAtLogin(), c.from);
        QList<bool> seen;
        d->addObserver("startAtLogin", [&](const QVariant& v) { seen << v.toBool(); });

        ::testing::internal::CaptureStderr();
        d->setStartAtLogin(!c.from);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(d->startAtLogin(), c.from);
        EXPECT_EQ(seen, QList<bool>{c.from});   // a switch showing the new value turns back
        EXPECT_EQ(make()->startAtLogin(), c.from);
    }
}

TEST(QVLoginItemTest, ExecPathsWithReservedCharactersAreQuoted)
{
    EXPECT_TRUE(QVLoginItem::entryContents("/opt/my apps/voltara").contains("Exec=\"/opt/my apps/voltara\"\n"));
    EXPECT_TRUE(QVLoginItem::entryContents("/opt/a$b/voltara").contains("Exec=\"/opt/a\\\\$b/voltara\"\n"));
    EXPECT_TRUE(QVLoginItem::entryContents("/opt/100%/voltara").contains("Exec=/opt/100%%/voltara\n"));
}

TEST(QVUserDefaultsShared, StandardObjectLivesInTheConfigFolder)
{
    EXPECT_TRUE(QVUserDefaults::standardFilePath().endsWith("/config/Voltara/Voltara.conf"));
    QVUserDefaults& a = QVUserDefaults::standardUserDefaults();
    EXPECT_EQ(&a, &QVUserDefaults::standardUserDefaults());
    EXPECT_EQ(a.filePath(), QVUserDefaults::standardFilePath());
}

} // namespace
