#include "history/QVHistoryDataImporter.h"

#include "app/settings/QVUserDefaults.h"
#include "history/QVHistoryStore.h"
#include "history/QVImportWindowController.h"
#include "history/QVReadOnlyStore.h"
#include "history/QVSnapshotRecorder.h"
#include "platform/dispatch/MainThread.h"
#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

const QString kOldStoreRelativePath = QStringLiteral("Data/Library/Application Support/Voltara/Voltara.sqlite");
const QString kFirstGenerationIdentifier = QStringLiteral("com.orlent.voltara");

// The folder panel: a folder chooser whose Choose button takes only folders its delegate enables.
class QVImportFolderPanel : public QFileDialog {
public:
    explicit QVImportFolderPanel(const QVHistoryDataImporter& delegate) : m_delegate(delegate)
    {
        connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { updateChooseButton(path); });
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& path) { updateChooseButton(path); });
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && m_delegate.panel(this, files.first()))
            QFileDialog::accept();
    }

private:
    void updateChooseButton(const QString& path)
    {
        if (auto* box = findChild<QDialogButtonBox*>())
            if (QPushButton* choose = box->button(QDialogButtonBox::Open))
                choose->setEnabled(m_delegate.panel(this, path));
    }

    const QVHistoryDataImporter& m_delegate;
};

} // namespace

QVHistoryDataImporter& QVHistoryDataImporter::sharedInstance()
{
    static QVHistoryDataImporter* importer = new QVHistoryDataImporter;   // lives until the process ends
    return *importer;
}

QVHistoryDataImporter::QVHistoryDataImporter() = default;

QVHistoryStore& QVHistoryDataImporter::store() const
{
    return m_store ? *m_store : QVHistoryStore::sharedStore();
}

bool QVHistoryDataImporter::voltaraInstalled() const
{
    return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, kFirstGenerationIdentifier + ".desktop")
                .isEmpty();
}

QString QVHistoryDataImporter::oldStorePathForLocation(const QString& location)
{
    if (QFileInfo(location).isFile())
        return location;
    return QDir(location).filePath(kOldStoreRelativePath);
}

QString QVHistoryDataImporter::defaultContainerPath()
{
    return QDir::homePath() + "/Library/Containers/" + kFirstGenerationIdentifier;
}

// MARK: - The run

void QVHistoryDataImporter::start()
{
    if (m_isRunning)
        return;
    m_isRunning = true;
    QVSnapshotRecorder::sharedInstance().stop();
    if (QVUserDefaults::standardUserDefaults().askedToImportHistory() || !voltaraInstalled()) {
        finish();
        return;
    }
    m_didAsk = true;
    const int button = runAlert(QStringLiteral("Import History from Voltara 1?"),
                                QStringLiteral("Would you like to import your battery history data from Voltara 1?\n\n"
                                               "You can also do this later through the Extras tab in the Preferences panel."),
                                {QStringLiteral("Import"), QStringLiteral("Not Now")});
    if (button == 0)
        dispatchAfter(0.3, [this] { selectFolder(); });
    else
        finish();
}

void QVHistoryDataImporter::selectFolder()
{
    const std::optional<QString> folder = runFolderPanel();
    if (!folder) {
        finish();
        return;
    }
    m_url = *folder;
    dispatchAfter(0.3, [this] { importData(); });
}

void QVHistoryDataImporter::importData()
{
    const QString file = oldStorePathForLocation(m_url);
    if (!QFileInfo(file).isFile()) {
        showAlertWithTitle(QStringLiteral("Import Failed"),
                           QStringLiteral("The import could not continue because I could not locate the Voltara database."));
        finish();
        return;
    }
    m_url = file;
    QString error;
    const std::unique_ptr<QVReadOnlyStore> oldStore = QVReadOnlyStore::openStore(file, &error);
    if (!oldStore) {
        QVLog(QStringLiteral("Could not open the old store: %1").arg(error));
        showAlertWithTitle(QStringLiteral("Import Failed"), QStringLiteral("Could not read the old database data."));
        finish();
        return;
    }
    m_oldItems = oldStore->fetchAll();

    m_importWindowController =
        KZWindowController::controller<QVImportWindowController>(static_cast<std::int64_t>(m_oldItems.size()));
    m_importWindowController->setDidCloseBlock([this] { finish(); });
    m_importWindowController->showWindow();
}

void QVHistoryDataImporter::importWithProgressBlock(ProgressBlock progressBlock, CompletionBlock completionBlock)
{
    // There is no sudden or automatic termination to hold off here; the store's writer finishes
    // every transaction it has begun, and a killed process leaves the store whole.
    auto result = std::make_shared<QVImportResult>();
    store().saveInBackground(
        [this, progressBlock = std::move(progressBlock), result](QVPrivateContext& context) {
            *result = actuallyImportWithProgressBlock(progressBlock, context);
        },
        [result, completionBlock = std::move(completionBlock)](const QVSaveResult& saved) {
            result->saved = saved.ok;
            result->imported = saved.inserted;
            result->duplicates = saved.skippedDuplicates;
            if (!saved.ok && result->error.isEmpty())
                result->error = saved.error;
            if (completionBlock)
                completionBlock(*result);
            QVLog(QStringLiteral("Imported %1 of %2 snapshots; skipped %3 incomplete and %4 already in the history%5")
                      .arg(result->imported)
                      .arg(result->found)
                      .arg(result->incomplete)
                      .arg(result->duplicates)
                      .arg(saved.ok ? QString() : QStringLiteral("; the save failed: ") + result->error));
        });
}

QVImportResult QVHistoryDataImporter::actuallyImportWithProgressBlock(const ProgressBlock& progressBlock,
                                                                      QVPrivateContext& context)
{
    QVImportResult result;
    const std::unique_ptr<QVReadOnlyStore> oldStore = QVReadOnlyStore::openStore(m_url, &result.error);
    if (!oldStore)
        return result;
    const std::vector<QVSnapshot> rows = oldStore->fetchAll();
    result.found = static_cast<std::int64_t>(rows.size());
    // Every row's index goes to the progress block on the main thread, in order. The indices travel
    // in small batches: one wake-up of the main thread per row would cost more than the import.
    constexpr std::int64_t batch = 64;
    std::int64_t firstUnreported = 0;
    const auto report = [&](std::int64_t end) {
        if (progressBlock && end > firstUnreported)
            dispatchToMainThread([progressBlock, from = firstUnreported, end] {
                for (std::int64_t index = from; index < end; ++index)
                    progressBlock(index);
            });
        firstUnreported = end;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QVSnapshot& oldObject = rows[i];
        if (oldObjectIsOkay(oldObject)) {
            QVariantMap dictionary = oldObject.dictionaryRepresentation();
            dictionary.insert(QStringLiteral("date"), *oldObject.date);   // the instant exactly as stored
            context.importObject(dictionary);
        } else {
            ++result.incomplete;
        }
        const auto index = static_cast<std::int64_t>(i);
        if ((index + 1) % batch == 0)
            report(index + 1);
    }
    report(static_cast<std::int64_t>(rows.size()));
    return result;
}

bool QVHistoryDataImporter::oldObjectIsOkay(const QVSnapshot& oldObject)
{
    return oldObject.isComplete();
}

bool QVHistoryDataImporter::panel(QFileDialog*, const QString& shouldEnableURL) const
{
    return shouldEnableURL.endsWith(kFirstGenerationIdentifier)
        || shouldEnableURL.endsWith(kFirstGenerationIdentifier + QLatin1Char('/'));
}

void QVHistoryDataImporter::showAlertWithTitle(const QString& title, const QString& message)
{
    runAlert(title, message, {});
}

void QVHistoryDataImporter::finish()
{
    m_isRunning = false;
    if (m_didAsk)
        QVUserDefaults::standardUserDefaults().setAskedToImportHistory(true);
    QVSnapshotRecorder::sharedInstance().start();
    m_oldItems.clear();
    m_oldItems.shrink_to_fit();
    if (m_importWindowController) {
        m_importWindowController->setDidCloseBlock({});
        if (m_importWindowController->isWindowLoaded())
            m_importWindowController->window()->hide();
        // Let go of the controller on a later turn: finish may run inside its window's close.
        dispatchToMainThread([controller = std::move(m_importWindowController)] {});
        m_importWindowController.reset();
    }
}

// MARK: - Alerts and the panel

int QVHistoryDataImporter::runAlert(const QString& title, const QString& message, const QStringList& buttons)
{
    if (m_alertPresenter)
        return m_alertPresenter(title, message, buttons);
    QMessageBox alert;
    alert.setText(title);
    alert.setInformativeText(message);
    QList<QAbstractButton*> added;
    for (const QString& button : buttons)
        added << alert.addButton(button, added.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    if (added.isEmpty())
        alert.setStandardButtons(QMessageBox::Ok);
    alert.exec();
    return added.isEmpty() ? 0 : static_cast<int>(added.indexOf(alert.clickedButton()));
}

std::optional<QString> QVHistoryDataImporter::runFolderPanel()
{
    if (m_folderPicker)
        return m_folderPicker(*this);
    QVImportFolderPanel panel(*this);
    panel.setOption(QFileDialog::DontUseNativeDialog);   // the delegate must see every choice
    panel.setWindowTitle(QStringLiteral("Click the Choose button"));
    panel.setLabelText(QFileDialog::Accept, QStringLiteral("Choose"));
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    panel.setOption(QFileDialog::ReadOnly);   // no new folders
    panel.setDirectory(defaultContainerPath());
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout())) {
        auto* message = new QLabel(QStringLiteral("Click the Choose button to select the Voltara data."), &panel);
        grid->addWidget(message, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return panel.selectedFiles().first();
}
