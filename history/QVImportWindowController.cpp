#include "history/QVImportWindowController.h"

#include "history/QVHistoryDataImporter.h"
#include "platform/dispatch/MainThread.h"
#include "ui_QVImportWindowController.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

QVImportWindowController::QVImportWindowController(std::int64_t foundItems)
    : m_foundItems(foundItems)
{
}

QVImportWindowController::~QVImportWindowController() = default;

QString QVImportWindowController::formattedNumber(std::int64_t number)
{
    // A decimal formatter of the user's locale, which groups the digits as that locale does; made
    // once per thread and locale (the progress text is formatted for every row).
    thread_local std::unique_ptr<icu::NumberFormat> numberFormatter;
    thread_local std::string formatterLocale;
    const icu::Locale locale = icu::Locale::getDefault();
    if (!numberFormatter || formatterLocale != locale.getName()) {
        UErrorCode status = U_ZERO_ERROR;
        numberFormatter.reset(icu::NumberFormat::createInstance(locale, status));
        if (U_FAILURE(status))
            numberFormatter.reset();
        if (numberFormatter)
            numberFormatter->setGroupingUsed(true);
        formatterLocale = locale.getName();
    }
    if (!numberFormatter)
        return QString::number(number);
    icu::UnicodeString text;
    numberFormatter->format(static_cast<int64_t>(number), text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

void QVImportWindowController::setupUi(QWidget* window)
{
    ui = std::make_unique<Ui::QVImportWindowController>();
    ui->setupUi(window);
}

void QVImportWindowController::awakeFromNib()
{
    KZWindowController::awakeFromNib();
    window()->installEventFilter(this);   // the window's delegate: told when it closes
    // Only one view at a time lies in the window's content.
    for (QWidget* view : {pendingView(), progressView(), doneView()}) {
        window()->layout()->removeWidget(view);
        view->hide();
    }
    showView(pendingView());
    connect(startButton(), &QPushButton::clicked, this, &QVImportWindowController::startImport);

    // The bar runs from 0 to the index of the last row (at least 1, so one row is not "busy").
    progressIndicator()->setRange(0, static_cast<int>(std::clamp<std::int64_t>(
                                         m_foundItems - 1, 1, std::numeric_limits<int>::max())));
    if (m_foundItems <= 0) {
        foundLabel()->setText(QStringLiteral("No Items Found"));
        startButton()->setText(QStringLiteral("Close"));
    } else {
        m_foundItemString = formattedNumber(m_foundItems);
        foundLabel()->setText(QStringLiteral("Found %1 snapshots").arg(m_foundItemString));
        doneLabel()->setText(QStringLiteral("Successfully imported %1 items").arg(m_foundItemString));
    }
}

void QVImportWindowController::showView(QWidget* view)
{
    if (m_currentView == view)
        return;
    if (m_currentView) {
        window()->layout()->removeWidget(m_currentView);
        m_currentView->hide();
    }
    m_currentView = view;
    window()->layout()->addWidget(view);
    view->show();
}

void QVImportWindowController::startImport()
{
    if (m_foundItems <= 0) {
        close();
        return;
    }
    updateProgress(0);
    showView(progressView());
    QPointer<QVImportWindowController> self(this);
    QVHistoryDataImporter::sharedInstance().importWithProgressBlock(
        [self](std::int64_t index) {
            if (self)
                self->updateProgress(index);
        },
        [self](const QVImportResult& result) {
            const bool saved = result.saved && result.error.isEmpty();
            dispatchToMainThread([self, saved] {
                if (!self)
                    return;
                // A run whose rows never reached the store does not claim success.
                if (!saved)
                    self->doneLabel()->setText(QStringLiteral("Import Failed"));
                self->showView(self->doneView());
            });
        });
}

void QVImportWindowController::updateProgress(std::int64_t index)
{
    progressLabel()->setText(QStringLiteral("Importing %1 of %2").arg(formattedNumber(index), m_foundItemString));
    progressIndicator()->setValue(static_cast<int>(std::min<std::int64_t>(index, std::numeric_limits<int>::max())));
}

void QVImportWindowController::closeWindow()
{
    close();
}

void QVImportWindowController::windowWillClose()
{
    if (m_didCloseBlock) {
        const std::function<void()> block = m_didCloseBlock;
        block();
    }
}

bool QVImportWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() && event->type() == QEvent::Close)
        windowWillClose();
    return KZWindowController::eventFilter(watched, event);
}

QWidget* QVImportWindowController::pendingView() const { return ui->pendingView; }
QWidget* QVImportWindowController::progressView() const { return ui->progressView; }
QWidget* QVImportWindowController::doneView() const { return ui->doneView; }
QLabel* QVImportWindowController::foundLabel() const { return ui->foundLabel; }
QPushButton* QVImportWindowController::startButton() const { return ui->startButton; }
QLabel* QVImportWindowController::progressLabel() const { return ui->progressLabel; }
QProgressBar* QVImportWindowController::progressIndicator() const { return ui->progressIndicator; }
QLabel* QVImportWindowController::doneLabel() const { return ui->doneLabel; }
