#pragma once

#include "history/QVSnapshot.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QFileDialog;
class QVHistoryStore;
class QVImportWindowController;
class QVPrivateContext;

// What an import run did; logged at its end and shown by `voltara import`.
struct QVImportResult {
    bool saved = false;               // the rows reached the store file
    std::int64_t found = 0;           // rows of the old store
    std::int64_t imported = 0;        // rows written
    std::int64_t incomplete = 0;      // rows skipped for a missing attribute
    std::int64_t duplicates = 0;      // rows skipped because the history has a row of the same date
    QString error;
};

// Copies the first generation's snapshot history into the history store: the one-time offer at
// launch, the folder panel, the checks, the import window and the import itself.
class QVHistoryDataImporter : public QObject {
    Q_OBJECT
public:
    using ProgressBlock = std::function<void(std::int64_t index)>;
    using CompletionBlock = std::function<void(const QVImportResult& result)>;
    // A modal alert: returns the index of the button pressed (buttons empty = one default button).
    using AlertPresenter = std::function<int(const QString& title, const QString& message, const QStringList& buttons)>;
    // The folder panel: the folder chosen, or none when cancelled.
    using FolderPicker = std::function<std::optional<QString>(QVHistoryDataImporter& delegate)>;

    static QVHistoryDataImporter& sharedInstance();

    // The launch offer (once, when the first generation is installed and the user was not asked yet).
    void start();
    // The folder panel; then importData after 0.3 s, or finish when cancelled.
    void selectFolder();
    // Checks the picked folder, reads the old store and opens the import window.
    void importData();
    // The import, in the background: progress for every old row (by index) and the completion on
    // the main thread.
    void importWithProgressBlock(ProgressBlock progressBlock, CompletionBlock completionBlock);
    // The work inside the background save; returns the counts it can know there.
    QVImportResult actuallyImportWithProgressBlock(const ProgressBlock& progressBlock, QVPrivateContext& context);
    // True when all 13 attributes have a value.
    static bool oldObjectIsOkay(const QVSnapshot& oldObject);
    // Folder panel delegate: only folders named after the first generation's identifier.
    bool panel(QFileDialog* panel, const QString& shouldEnableURL) const;
    void showAlertWithTitle(const QString& title, const QString& message);
    // Ends a run: clears isRunning, remembers the offer, restarts the recorder, drops the window.
    void finish();

    // The old store file for a picked location: the location itself when it is a file, else
    // "Data/Library/Application Support/Voltara/Voltara.sqlite" below the folder.
    static QString oldStorePathForLocation(const QString& location);
    // The folder the panel starts in: ~/Library/Containers/com.orlent.voltara.
    static QString defaultContainerPath();

    QString url() const { return m_url; }
    void setUrl(const QString& url) { m_url = url; }
    const std::vector<QVSnapshot>& oldItems() const { return m_oldItems; }
    bool isRunning() const { return m_isRunning; }
    bool didAsk() const { return m_didAsk; }
    // The first generation is installed: a desktop entry "com.orlent.voltara.desktop" exists.
    bool voltaraInstalled() const;
    QVImportWindowController* importWindowController() const { return m_importWindowController.get(); }

    // Replaceable for tests and the command line.
    void setAlertPresenter(AlertPresenter presenter) { m_alertPresenter = std::move(presenter); }
    void setFolderPicker(FolderPicker picker) { m_folderPicker = std::move(picker); }
    // The store the rows go to: QVHistoryStore::sharedStore() unless replaced.
    QVHistoryStore& store() const;
    void setStore(QVHistoryStore* store) { m_store = store; }

private:
    QVHistoryDataImporter();
    int runAlert(const QString& title, const QString& message, const QStringList& buttons);
    std::optional<QString> runFolderPanel();

    QString m_url;
    std::shared_ptr<QVImportWindowController> m_importWindowController;
    std::vector<QVSnapshot> m_oldItems;
    bool m_isRunning = false;
    bool m_didAsk = false;
    AlertPresenter m_alertPresenter;
    FolderPicker m_folderPicker;
    QVHistoryStore* m_store = nullptr;
};
