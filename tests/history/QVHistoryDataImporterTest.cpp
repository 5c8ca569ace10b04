#include "history/QVHistoryDataImporter.h"

#include "app/settings/QVUserDefaults.h"
#include "battery/QVBatteryManager.h"
#include "history/QVHistoryStore.h"
#include "history/QVImportWindowController.h"
#include "history/QVReadOnlyStore.h"
#include "history/QVSnapshotRecorder.h"
#include "support/FirstGenerationStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unicode/locid.h>

namespace {

constexpr double kReferenceDate = 978307200.0;   // 2001-01-01 in seconds since 1970

bool waitUntil(const std::function<bool()>& condition, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

QByteArray hashOfFolder(const QString& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile f(QDir(folder).filePath(name));
        f.open(QIODevice::ReadOnly);
        hash.addData(name.toUtf8());
        hash.addData(f.readAll());
    }
    return hash.result();
}

class HistoryDataImporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(store.openAtPath(dir.filePath("history.sqlite")));
        importer().setStore(&store);
        QVSnapshotRecorder::sharedInstance().setStore(&recorderStore);   // a closed store: keeps nothing
        qputenv("VOLTARA_POWER_SUPPLY_ROOT", VOLTARA_FIXTURES "/power_supply/charge_discharging");
        QVBatteryManager::sharedManager().update();
        importer().setAlertPresenter([this](const QString& title, const QString& message, const QStringList& buttons) {
            alerts << (title + " / " + message);
            alertButtons = buttons;
            return answer;
        });
        importer().setFolderPicker([this](QVHistoryDataImporter&) {
            ++panels;
            return pickedFolder;
        });
        QVUserDefaults::resetStandardUserDefaults();
        QFile::remove(QVUserDefaults::standardFilePath());
        QVUserDefaults::resetStandardUserDefaults();
        setInstalled(true);
        icu::Locale::setDefault(icu::Locale("en_US"), status);
    }
    void TearDown() override
    {
        if (importer().isRunning() || importer().importWindowController())
            importer().finish();
        QCoreApplication::processEvents();
        QVSnapshotRecorder::sharedInstance().stop();
        QVSnapshotRecorder::sharedInstance().setStore(nullptr);
        importer().setStore(nullptr);
        importer().setAlertPresenter({});
        importer().setFolderPicker({});
        setInstalled(false);
    }
    static QVHistoryDataImporter& importer() { return QVHistoryDataImporter::sharedInstance(); }
    static void setInstalled(bool installed)
    {
        const QString apps = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
        QDir().mkpath(apps);
        QFile entry(apps + "/com.orlent.voltara.desktop");
        if (installed) {
            entry.open(QIODevice::WriteOnly);
            entry.write("[Desktop Entry]\nType=Application\nName=Voltara 1\nExec=voltara1\n");
        } else {
            entry.remove();
        }
    }
    // Runs the import window's whole flow for the folder; returns the controller's labels at the end.
    QVImportWindowController* openWindowFor(const QString& folder)
    {
        importer().setUrl(folder);
        importer().importData();
        return importer().importWindowController();
    }

    UErrorCode status = U_ZERO_ERROR;
    QTemporaryDir dir;
    QVHistoryStore store;
    QVHistoryStore recorderStore;
    QStringList alerts;
    QStringList alertButtons;
    int answer = 0;
    int panels = 0;
    std::optional<QString> pickedFolder;
};

} // namespace

TEST_F(HistoryDataImporterTest, ImportsTheCompleteRowsOfAFirstGenerationStoreOnce)
{
    const QString container = dir.filePath("com.orlent.voltara");
    const QString oldStore = makeFirstGenerationStore(container, 1234, 100);   // 13 rows lack osxHealth
    const QString oldFolder = QFileInfo(oldStore).absolutePath();
    ASSERT_TRUE(QFile::exists(oldStore + "-wal"));
    const QByteArray before = hashOfFolder(oldFolder);

    QVImportWindowController* window = openWindowFor(container);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(importer().url(), oldStore);
    EXPECT_EQ(importer().oldItems().size(), 1234u);
    EXPECT_EQ(window->currentView(), window->pendingView());
    EXPECT_EQ(window->foundLabel()->text(), "Found 1,234 snapshots");
    EXPECT_EQ(window->doneLabel()->text(), "Successfully imported 1,234 items");
    EXPECT_EQ(window->progressIndicator()->maximum(), 1233);

    std::vector<int> progress;
    QObject::connect(window->progressIndicator(), &QProgressBar::valueChanged,
                     [&](int value) { progress.push_back(value); });
    window->startButton()->click();
    EXPECT_EQ(window->currentView(), window->progressView());
    ASSERT_TRUE(waitUntil([&] { return window->currentView() == window->doneView(); }));
    EXPECT_EQ(window->progressLabel()->text(), "Importing 1,233 of 1,234");
    ASSERT_EQ(progress.size(), 1234u);   // every row's index, skipped rows too
    for (int i = 0; i < 1234; ++i)
        ASSERT_EQ(progress[i], i);

    const auto rows = store.fetchSnapshots({});
    ASSERT_EQ(rows.size(), 1221u);
    EXPECT_EQ(*rows.front().date, kReferenceDate + 500000000.125 + 60.0);   // row 0 lacked its health
    EXPECT_EQ(*rows.front().cycles, 312u);
    EXPECT_EQ(*rows.front().isCharging, true);
    EXPECT_EQ(*rows.front().osxHealth, "Good");
    EXPECT_EQ(*rows.front().timeRemainingEstimate, -1.0);
    EXPECT_EQ(hashOfFolder(oldFolder), before) << "the old store and its side files are never changed";

    // Closing the window ends the run; the recorder runs again.
    window->window()->close();
    EXPECT_FALSE(importer().isRunning());
    EXPECT_EQ(importer().importWindowController(), nullptr);
    EXPECT_TRUE(QVSnapshotRecorder::sharedInstance().isRecording());

    // A second import of the same store adds nothing.
    importer().setUrl(oldStore);
    std::optional<QVImportResult> second;
    importer().importWithProgressBlock({}, [&](const QVImportResult& r) { second = r; });
    ASSERT_TRUE(waitUntil([&] { return second.has_value(); }));
    EXPECT_EQ(second->found, 1234);
    EXPECT_EQ(second->incomplete, 13);
    EXPECT_EQ(second->duplicates, 1221);
    EXPECT_EQ(second->imported, 0);
    EXPECT_EQ(store.count(), 1221);
    EXPECT_EQ(hashOfFolder(oldFolder), before);
}

TEST_F(HistoryDataImporterTest, FoundNumberUsesTheUsersGroupingSeparator)
{
    struct Case {
        const char* locale;
        std::int64_t number;
        const char* text;
    };
    for (const Case c : {Case{"en_US", 1234, "1,234"}, Case{"de_DE", 1234567, "1.234.567"}, Case{"en_US", 999, "999"}}) {
        icu::Locale::setDefault(icu::Locale(c.locale), status);
        EXPECT_EQ(QVImportWindowController::formattedNumber(c.number), QString::fromUtf8(c.text)) << c.locale;
    }
}

TEST_F(HistoryDataImporterTest, AnEmptyOldStoreOffersOnlyClose)
{
    const QString container = dir.filePath("com.orlent.voltara");
    makeFirstGenerationStore(container, 0);
    QVImportWindowController* window = openWindowFor(container);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->foundLabel()->text(), "No Items Found");
    EXPECT_EQ(window->startButton()->text(), "Close");
    window->showWindow();
    window->startButton()->click();
    EXPECT_EQ(importer().importWindowController(), nullptr);
    EXPECT_TRUE(QVSnapshotRecorder::sharedInstance().isRecording());
    EXPECT_EQ(store.count(), 0);
}

TEST_F(HistoryDataImporterTest, UnreadableFoldersEndTheRunWithTheirAlert)
{
    const QString empty = dir.filePath("empty/com.orlent.voltara");
    QDir().mkpath(empty);
    const QString notAStore = dir.filePath("text/com.orlent.voltara");
    QDir().mkpath(notAStore + "/Data/Library/Application Support/Voltara");
    {
        QFile f(notAStore + "/Data/Library/Application Support/Voltara/Voltara.sqlite");
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(8192, 'x'));
    }
    const QString otherDatabase = dir.filePath("other/com.orlent.voltara");
    QDir().mkpath(otherDatabase + "/Data/Library/Application Support/Voltara");
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(otherDatabase + "/Data/Library/Application Support/Voltara/Voltara.sqlite")
                         .constData(),
                     &db);
        sqlite3_exec(db, "CREATE TABLE notes (body TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    struct Case {
        QString folder;
        QString alert;
    };
    const QString locate = "Import Failed / The import could not continue because I could not locate the Voltara database.";
    const QString unreadable = "Import Failed / Could not read the old database data.";
    for (const Case& c : {Case{empty, locate}, Case{notAStore, unreadable}, Case{otherDatabase, unreadable}}) {
        alerts.clear();
        pickedFolder = c.folder;
        importer().selectFolder();
        ASSERT_TRUE(waitUntil([&] { return !alerts.isEmpty(); })) << c.folder.toStdString();
        EXPECT_EQ(alerts, QStringList{c.alert});
        EXPECT_TRUE(alertButtons.isEmpty());
        EXPECT_EQ(importer().importWindowController(), nullptr);
        EXPECT_TRUE(QVSnapshotRecorder::sharedInstance().isRecording());
    }
}

TEST_F(HistoryDataImporterTest, LaunchOfferIsMadeOnceAndNotNowOrCancelEndsIt)
{
    // Not installed: no offer, the recorder runs on.
    setInstalled(false);
    importer().start();
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_FALSE(importer().isRunning());
    EXPECT_TRUE(QVSnapshotRecorder::sharedInstance().isRecording());
    setInstalled(true);

    // Installed and not asked yet: the offer; "Not Now" ends the run and remembers it.
    answer = 1;
    importer().start();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], "Import History from Voltara 1? / Would you like to import your battery history data from "
                         "Voltara 1?\n\nYou can also do this later through the Extras tab in the Preferences panel.");
    EXPECT_EQ(alertButtons, (QStringList{"Import", "Not Now"}));
    EXPECT_FALSE(importer().isRunning());
    EXPECT_TRUE(QVUserDefaults::standardUserDefaults().askedToImportHistory());
    QVUserDefaults::resetStandardUserDefaults();   // a relaunch reads the file again
    EXPECT_TRUE(QVUserDefaults::standardUserDefaults().askedToImportHistory());
    importer().start();
    EXPECT_EQ(alerts.size(), 1);
    EXPECT_EQ(panels, 0);

    // "Import", then a cancelled panel: the recorder runs again at once.
    QVUserDefaults::standardUserDefaults().setAskedToImportHistory(false);
    answer = 0;
    pickedFolder.reset();
    importer().start();
    EXPECT_TRUE(importer().isRunning());
    EXPECT_FALSE(QVSnapshotRecorder::sharedInstance().isRecording()) << "no snapshots while the offer is open";
    ASSERT_TRUE(waitUntil([&] { return panels == 1; }));
    EXPECT_FALSE(importer().isRunning());
    EXPECT_TRUE(QVSnapshotRecorder::sharedInstance().isRecording());
    EXPECT_TRUE(QVUserDefaults::standardUserDefaults().askedToImportHistory());
}

TEST_F(HistoryDataImporterTest, FolderPanelEnablesOnlyTheFirstGenerationContainer)
{
    EXPECT_TRUE(importer().panel(nullptr, "/home/u/Library/Containers/com.orlent.voltara"));
    EXPECT_TRUE(importer().panel(nullptr, "/home/u/Library/Containers/com.orlent.voltara/"));
    EXPECT_FALSE(importer().panel(nullptr, "/home/u/Library/Containers/com.orlent.voltara2"));
    EXPECT_FALSE(importer().panel(nullptr, "/home/u/Library/Containers"));
    EXPECT_EQ(QVHistoryDataImporter::defaultContainerPath(), QDir::homePath() + "/Library/Containers/com.orlent.voltara");
}

TEST_F(HistoryDataImporterTest, CommandLineImportPrintsTheWindowsMessagesAndExitCodes)
{
    const QString container = dir.filePath("com.orlent.voltara");
    const QString oldStore = makeFirstGenerationStore(container, 1234, 100);
    const QString target = dir.filePath("cli.sqlite");
    const auto run = [&](const QStringList& arguments, QString* out, QString* err) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "en_US.UTF-8");
        process.setProcessEnvironment(env);
        process.start(VOLTARA_BINARY, QStringList{"import"} + arguments);
        process.waitForFinished(60000);
        *out = QString::fromUtf8(process.readAllStandardOutput());
        *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    };
    QString out, err;
    EXPECT_EQ(run({container, "--store", target}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(out, "Found 1,234 snapshots\nSuccessfully imported 1,234 items\n");
    EXPECT_TRUE(err.contains("skipped 13 incomplete and 0 already in the history")) << err.toStdString();

    EXPECT_EQ(run({oldStore, "--store", target}, &out, &err), 0);   // the store file itself, again
    EXPECT_TRUE(err.contains("Imported 0 of 1234 snapshots; skipped 13 incomplete and 1221 already")) << err.toStdString();
    QVHistoryStore check;
    ASSERT_TRUE(check.openAtPath(target));
    EXPECT_EQ(check.count(), 1221);

    EXPECT_NE(run({dir.filePath("nowhere"), "--store", target}, &out, &err), 0);
    EXPECT_TRUE(err.contains("Import Failed: The import could not continue because I could not locate the Voltara database."));
    const QString foreign = dir.filePath("foreign.sqlite");
    {
        QFile f(foreign);
        f.open(QIODevice::WriteOnly);
        f.write("plain text");
    }
    EXPECT_NE(run({oldStore, "--store", foreign}, &out, &err), 0) << "a target that is not a store is refused";
    EXPECT_NE(run({foreign, "--store", target}, &out, &err), 0);
    EXPECT_TRUE(err.contains("Import Failed: Could not read the old database data."));
}

TEST_F(HistoryDataImporterTest, AStoreOfOurOwnLayoutIsImportedAsItIs)
{
    const QString own = dir.filePath("own.sqlite");
    QVSnapshot complete;
    complete.date = 1500000000.123456;
    complete.chargeLevel = 99.9;
    complete.currentCharge = 5000;
    complete.maxCharge = 5100;
    complete.maxCapacity = 6000;
    complete.cycles = 42;
    complete.isCharging = false;
    complete.isConnectedToPowerSource = true;
    complete.isFullyCharged = false;
    complete.osxHealth = QString();   // the recorder's empty health text is a value
    complete.powerUsageWatts = 0.5;
    complete.temperature = 28.0;
    complete.timeRemainingEstimate = -2;
    QVSnapshot incomplete = complete;
    incomplete.date = 1500000060.0;
    incomplete.temperature.reset();
    {
        QVHistoryStore source;
        ASSERT_TRUE(source.openAtPath(own));
        source.saveSnapshot(complete);
        source.saveSnapshot(incomplete);
    }
    QDir().mkpath(dir.path() + "/own-only");
    QFile::rename(own, dir.path() + "/own-only/own.sqlite");
    const QByteArray sourceHash = hashOfFolder(dir.path() + "/own-only");

    importer().setUrl(dir.path() + "/own-only/own.sqlite");
    std::optional<QVImportResult> result;
    std::vector<std::int64_t> progress;
    importer().importWithProgressBlock([&](std::int64_t i) { progress.push_back(i); },
                                       [&](const QVImportResult& r) { result = r; });
    ASSERT_TRUE(waitUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result->found, 2);
    EXPECT_EQ(result->imported, 1);
    EXPECT_EQ(result->incomplete, 1);
    EXPECT_EQ(progress, (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(store.fetchSnapshots({}), std::vector<QVSnapshot>{complete});
    EXPECT_EQ(hashOfFolder(dir.path() + "/own-only"), sourceHash);
}

TEST_F(HistoryDataImporterTest, ASaveThatFailsIsNotShownAsSuccess)
{
    const QString container = dir.filePath("com.orlent.voltara");
    makeFirstGenerationStore(container, 10);
    QVHistoryStore unusable;   // never opened: keeps nothing
    importer().setStore(&unusable);
    QVImportWindowController* window = openWindowFor(container);
    ASSERT_NE(window, nullptr);
    window->startButton()->click();
    ASSERT_TRUE(waitUntil([&] { return window->currentView() == window->doneView(); }));
    EXPECT_EQ(window->doneLabel()->text(), "Import Failed");
    importer().setStore(&store);
}

TEST_F(HistoryDataImporterTest, FolderPanelTakesOnlyTheContainerFolder)
{
    importer().setFolderPicker({});   // the real panel
    const QString container = QVHistoryDataImporter::defaultContainerPath();
    QDir().mkpath(container);
    const QString elsewhere = dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->windowTitle(), "Click the Choose button");
        EXPECT_EQ(panel->labelText(QFileDialog::Accept), "Choose");
        EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
        EXPECT_EQ(QDir(panel->directory()).absolutePath(), QDir(container).absolutePath());
        bool hasMessage = false;
        for (QLabel* label : panel->findChildren<QLabel*>())
            hasMessage |= label->text() == "Click the Choose button to select the Voltara data.";
        EXPECT_TRUE(hasMessage);

        panel->setDirectory(dir.path());
        panel->selectFile(elsewhere);
        static_cast<QDialog*>(panel)->accept();
        EXPECT_TRUE(panel->isVisible()) << "a folder of another name is not taken";
        panel->setDirectory(QFileInfo(container).absolutePath());
        panel->selectFile(container);
        static_cast<QDialog*>(panel)->accept();
        EXPECT_FALSE(panel->isVisible());
        checked = true;
    });
    importer().selectFolder();
    EXPECT_TRUE(checked);
    EXPECT_EQ(QDir(importer().url()).absolutePath(), QDir(container).absolutePath());
    // The chosen folder holds no store: after a moment, the locate alert.
    ASSERT_TRUE(waitUntil([&] { return !alerts.isEmpty(); }));
    EXPECT_TRUE(alerts[0].contains("could not locate the Voltara database"));
}
