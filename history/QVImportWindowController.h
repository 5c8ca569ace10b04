#pragma once

#include "toolkit/KZWindowController.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace Ui {
class QVImportWindowController;
}
class QLabel;
class QProgressBar;
class QPushButton;

// The import window: how many snapshots were found (pendingView), the progress of the import
// (progressView) and its end (doneView), one view at a time.
class QVImportWindowController : public KZWindowController {
    Q_OBJECT
public:
    // `foundItems` is the number of rows found; it is set before the window loads.
    explicit QVImportWindowController(std::int64_t foundItems = 0);
    ~QVImportWindowController() override;

    void awakeFromNib() override;

    // Action of startButton: closes the window when nothing was found, else starts the import.
    void startImport();
    void updateProgress(std::int64_t index);
    void closeWindow();
    // The window is closing: runs didCloseBlock.
    void windowWillClose();

    void showView(QWidget* view);
    QWidget* currentView() const { return m_currentView; }

    // The number with the user's grouping separators.
    static QString formattedNumber(std::int64_t number);

    std::int64_t foundItems() const { return m_foundItems; }
    QString foundItemString() const { return m_foundItemString; }
    const std::function<void()>& didCloseBlock() const { return m_didCloseBlock; }
    void setDidCloseBlock(std::function<void()> block) { m_didCloseBlock = std::move(block); }

    QWidget* pendingView() const;
    QWidget* progressView() const;
    QWidget* doneView() const;
    QLabel* foundLabel() const;
    QPushButton* startButton() const;
    QLabel* progressLabel() const;
    QProgressBar* progressIndicator() const;
    QLabel* doneLabel() const;

protected:
    void setupUi(QWidget* window) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::QVImportWindowController> ui;
    QWidget* m_currentView = nullptr;
    std::int64_t m_foundItems = 0;
    QString m_foundItemString;
    std::function<void()> m_didCloseBlock;
};
