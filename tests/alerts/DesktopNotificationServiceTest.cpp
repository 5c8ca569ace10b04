#include "alerts/KZUserNotification.h"
#include "alerts/KZUserNotificationCenter.h"
#include "alerts/KZUserNotificationWindowController.h"
#include "alerts/QVBatteryNotifications.h"
#include "app/settings/QVUserDefaults.h"
#include "platform/notify/DesktopNotificationService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A notification server of the test's own, exported on the private bus.
class TestNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Call> calls;
    QStringList capabilities{"body", "actions"};

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& appName, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        calls.append({appName, summary, body, actions});
        return uint(calls.size() + 100);
    }
    void CloseNotification(uint id) { Q_EMIT NotificationClosed(id, 3); }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);
};

class DesktopNotificationServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        config = new QTemporaryDir;
        QFile file(config->filePath("bus.conf"));
        file.open(QIODevice::WriteOnly);
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                   " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>\n"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        daemon = new QProcess;
        daemon->start("dbus-daemon", {"--nofork", "--print-address=1", "--config-file=" + file.fileName()});
        if (daemon->waitForStarted(5000) && daemon->waitForReadyRead(5000))
            address = QString::fromUtf8(daemon->readLine()).trimmed();
    }
    static void TearDownTestSuite()
    {
        daemon->terminate();
        daemon->waitForFinished(5000);
        delete daemon;
        delete config;
    }

    void SetUp() override
    {
        ASSERT_FALSE(address.isEmpty()) << "could not start a private dbus-daemon";
        static int serial = 0;
        ++serial;
        serverName = QString("server%1").arg(serial);
        clientName = QString("client%1").arg(serial);
        serverBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, serverName));
        clientBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, clientName));
        ASSERT_TRUE(serverBus->isConnected() && clientBus->isConnected());
    }
    void TearDown() override
    {
        center.reset();
        service.reset();
        serverBus->unregisterObject("/org/freedesktop/Notifications");
        serverBus->unregisterService("org.freedesktop.Notifications");
        serverBus.reset();
        clientBus.reset();
        QDBusConnection::disconnectFromBus(serverName);
        QDBusConnection::disconnectFromBus(clientName);
    }

    void startServer()
    {
        ASSERT_TRUE(serverBus->registerObject("/org/freedesktop/Notifications", &server,
                                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(serverBus->registerService("org.freedesktop.Notifications"));
    }
    void makeCenter()
    {
        service = std::make_unique<DesktopNotificationService>(*clientBus);
        center = std::make_unique<KZUserNotificationCenter>(service.get());
    }
    // Lets the event loop run long enough for stray calls to arrive.
    static void settle() { QTest::qWait(300); }

    static QString address;
    static QProcess* daemon;
    static QTemporaryDir* config;
    QString serverName;
    QString clientName;
    std::unique_ptr<QDBusConnection> serverBus;
    std::unique_ptr<QDBusConnection> clientBus;
    TestNotificationServer server;
    std::unique_ptr<DesktopNotificationService> service;
    std::unique_ptr<KZUserNotificationCenter> center;
};
QString DesktopNotificationServiceTest::address;
QProcess* DesktopNotificationServiceTest::daemon = nullptr;
QTemporaryDir* DesktopNotificationServiceTest::config = nullptr;

class RecordingDelegate : public KZUserNotificationCenterDelegate {
public:
    bool kz_userNotificationCenterDidActivateNotification(KZUserNotificationCenter&,
                                                          const std::shared_ptr<KZUserNotification>& n) override
    {
        activated.push_back(n);
        return true;
    }
    std::vector<std::shared_ptr<KZUserNotification>> activated;
};

std::shared_ptr<KZUserNotification> makeNotification(const QString& subtitle, const QString& text)
{
    auto n = std::make_shared<KZUserNotification>();
    n->setTitle("Voltara");
    n->setSubtitle(subtitle);
    n->setInformativeText(text);
    n->setHasActionButton(false);
    return n;
}

TEST_F(DesktopNotificationServiceTest, DeliversThroughTheServerWithoutOwnWindowsOrDelay)
{
    startServer();
    makeCenter();
    ASSERT_TRUE(center->supportsNotificationCenter());
    auto n = makeNotification("Your battery has reached 20%", "Next reminder at 10%");
    n->setDeliveryDate(QDateTime::currentDateTimeUtc().addSecs(3600));
    center->deliverNotification(n);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 1; }, 5000));
    const auto& call = server.calls.front();
    EXPECT_EQ(call.appName, "Voltara");
    EXPECT_EQ(call.summary, "Your battery has reached 20%");
    EXPECT_EQ(call.body, "Next reminder at 10%");
    EXPECT_EQ(call.actions, (QStringList{"default", ""}));
    EXPECT_TRUE(center->windowControllers().empty());
    EXPECT_EQ(center->notificationDict().size(), 1u);

    // With an action button the server offers it; without a subtitle the text is the summary.
    auto withAction = makeNotification("", "Only text");
    withAction->setHasActionButton(true);
    withAction->setActionButtonTitle("Open");
    center->deliverNotification(withAction);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 2; }, 5000));
    EXPECT_EQ(server.calls[1].summary, "Only text");
    EXPECT_EQ(server.calls[1].body, "");
    EXPECT_EQ(server.calls[1].actions, (QStringList{"default", "", "action", "Open"}));
}

TEST_F(DesktopNotificationServiceTest, BodyIsEscapedOnlyForMarkupServers)
{
    startServer();
    makeCenter();
    center->deliverNotification(makeNotification("s", "a <b> & c"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 1; }, 5000));
    EXPECT_EQ(server.calls[0].body, "a <b> & c");

    server.capabilities << "body-markup";
    center->deliverNotification(makeNotification("s", "a <b> & c"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 2; }, 5000));
    EXPECT_EQ(server.calls[1].body, "a &lt;b&gt; &amp; c");
    EXPECT_EQ(server.calls[1].summary, "s");
}

TEST_F(DesktopNotificationServiceTest, DefaultActionActivatesTheCallersNotification)
{
    startServer();
    makeCenter();
    RecordingDelegate delegate;
    auto first = makeNotification("first", "");
    auto second = makeNotification("second", "");
    center->deliverNotification(first);
    center->deliverNotification(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service->deliveredNotifications().size() == 2; }, 5000));

    // No delegate yet: nothing happens and the pair stays.
    Q_EMIT server.ActionInvoked(102, "default");
    settle();
    EXPECT_EQ(center->notificationDict().size(), 2u);

    center->setDelegate(&delegate);
    Q_EMIT server.ActionInvoked(999, "default");   // not ours
    Q_EMIT server.ActionInvoked(102, "default");
    ASSERT_TRUE(QTest::qWaitFor([&] { return delegate.activated.size() == 1; }, 5000));
    EXPECT_EQ(delegate.activated.front(), second);
    EXPECT_EQ(center->notificationDict().size(), 1u);

    // A closed notification can no longer be activated.
    server.CloseNotification(101);
    ASSERT_TRUE(QTest::qWaitFor([&] { return center->notificationDict().empty(); }, 5000));
    Q_EMIT server.ActionInvoked(101, "default");
    settle();
    EXPECT_EQ(delegate.activated.size(), 1u);
    center->setDelegate(nullptr);
}

TEST_F(DesktopNotificationServiceTest, FailedDeliveryFallsBackToAnOwnWindow)
{
    startServer();
    makeCenter();
    ASSERT_TRUE(center->supportsNotificationCenter());
    // The server goes away after the centre found it.
    serverBus->unregisterObject("/org/freedesktop/Notifications");
    serverBus->unregisterService("org.freedesktop.Notifications");
    auto n = makeNotification("Your battery is now fully charged.", "");
    center->deliverNotification(n);
    ASSERT_TRUE(QTest::qWaitFor([&] { return center->windowControllers().size() == 1; }, 15000));
    EXPECT_EQ(center->windowControllers().front()->notification(), n);
    EXPECT_TRUE(center->notificationDict().empty());
    EXPECT_TRUE(server.calls.empty());
}

TEST_F(DesktopNotificationServiceTest, NoServerMeansOwnWindows)
{
    makeCenter();
    EXPECT_FALSE(center->supportsNotificationCenter());
    center->deliverNotification(makeNotification("s", "t"));
    EXPECT_EQ(center->windowControllers().size(), 1u);
}

TEST_F(DesktopNotificationServiceTest, LowBatteryReadingRaisesOneNotification)
{
    startServer();
    makeCenter();
    QTemporaryDir dir;
    QVUserDefaults settings(dir.filePath("Voltara.conf"));
    settings.setSoundName(QString(""));   // silent
    settings.setNotifications({{"Battery", QVariantMap{{"low-battery-enabled", 1}, {"level-enabled", 1}, {"level-amount", 20}}}});
    QVBatteryNotifications engine(center.get(), &settings);
    engine.setReadingSource([] { return std::optional(QVBatteryNotifications::Reading{false, false, false, 0.04}); });

    engine.check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 1; }, 5000));
    EXPECT_EQ(server.calls[0].appName, "Voltara");
    EXPECT_EQ(server.calls[0].summary, "Your Mac will sleep soon unless plugged into a power outlet.");
    EXPECT_EQ(server.calls[0].body, "");

    engine.check();
    settle();
    EXPECT_EQ(server.calls.size(), 1);
    EXPECT_TRUE(center->windowControllers().empty());
}

} // namespace

#include "DesktopNotificationServiceTest.moc"
