#include "cli/Commands.h"

#include "cli/CommonOptions.h"
#include "history/QVHistoryDataImporter.h"
#include "history/QVHistoryStore.h"
#include "history/QVImportWindowController.h"
#include "history/QVReadOnlyStore.h"
#include "platform/log/Log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

void printLine(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}

// A one-line progress bar on the terminal, redrawn when the shown figure changes.
class ProgressBar {
public:
    ProgressBar(std::int64_t total, QString totalString)
        : m_total(total), m_totalString(std::move(totalString)), m_enabled(isatty(fileno(stderr)))
    {
    }

    void update(std::int64_t index)
    {
        if (!m_enabled)
            return;
        const int permille = m_total > 1 ? static_cast<int>(index * 1000 / (m_total - 1)) : 1000;
        if (permille == m_lastPermille)
            return;
        m_lastPermille = permille;
        constexpr int width = 30;
        const int filled = permille * width / 1000;
        const QString text = QStringLiteral("\r[%1%2] Importing %3 of %4")
                                 .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')),
                                      QVImportWindowController::formattedNumber(index), m_totalString);
        std::fputs(text.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }

    void end()
    {
        if (m_enabled && m_lastPermille >= 0)
            std::fputs("\n", stderr);
    }

private:
    std::int64_t m_total;
    QString m_totalString;
    bool m_enabled;
    int m_lastPermille = -1;
};

int importFailed(const QString& message)
{
    printLine(stderr, QStringLiteral("Import Failed: %1").arg(message));
    return 1;
}

} // namespace

int runImportCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Imports the snapshot history of the first generation into the history store. PATH is the "
        "first generation's data folder (the store lies in \"Data/Library/Application Support/Voltara\" "
        "below it) or a store file. Rows already in the history (same date) are not added again.");
    addCommonOptions(parser);
    parser.addPositionalArgument("PATH", "The first generation's data folder, or a store file.");
    parser.process(arguments);
    applyCommonOptions(parser);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "voltara import: expected one PATH\n%s", parser.helpText().toLocal8Bit().constData());
        return 2;
    }

    const QString file = QVHistoryDataImporter::oldStorePathForLocation(parser.positionalArguments().first());
    if (!QFileInfo(file).isFile())
        return importFailed("The import could not continue because I could not locate the Voltara database.");
    QString error;
    std::int64_t found = 0;
    {
        const std::unique_ptr<QVReadOnlyStore> oldStore = QVReadOnlyStore::openStore(file, &error);
        if (!oldStore) {
            QVLog(QStringLiteral("Could not open the old store: %1").arg(error));
            return importFailed("Could not read the old database data.");
        }
        found = oldStore->count();
    }
    if (found == 0) {
        printLine(stdout, QStringLiteral("No Items Found"));
        return 0;
    }
    const QString foundItemString = QVImportWindowController::formattedNumber(found);
    printLine(stdout, QStringLiteral("Found %1 snapshots").arg(foundItemString));

    QVHistoryStore& store = QVHistoryStore::sharedStore();
    if (!store.open()) {
        printLine(stderr, QStringLiteral("voltara import: the history store %1 cannot be used").arg(store.path()));
        return 1;
    }

    QVHistoryDataImporter& importer = QVHistoryDataImporter::sharedInstance();
    importer.setUrl(file);
    ProgressBar bar(found, foundItemString);
    QVImportResult result;
    importer.importWithProgressBlock([&bar](std::int64_t index) { bar.update(index); },
                                     [&result, &bar](const QVImportResult& r) {
                                         result = r;
                                         bar.end();
                                         QCoreApplication::exit(0);
                                     });
    QCoreApplication::exec();
    if (!result.saved || !result.error.isEmpty())
        return importFailed(result.error.isEmpty() ? QStringLiteral("Could not read the old database data.") : result.error);
    printLine(stdout, QStringLiteral("Successfully imported %1 items").arg(foundItemString));
    return 0;
}
