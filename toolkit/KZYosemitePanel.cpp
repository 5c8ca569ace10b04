#include "toolkit/KZYosemitePanel.h"

KZYosemitePanel::KZYosemitePanel(QWidget* parent)
    : KZYosemiteWindow(parent)
{
    setWindowFlag(Qt::Tool, true);
    setStandardButtons(StandardButtons(CloseButton | MiniaturizeButton | ZoomButton));
}

KZYosemiteWindow::StandardButtons KZYosemitePanel::allowedStandardButtons() const
{
    return StandardButtons(CloseButton | MiniaturizeButton | ZoomButton);
}

void KZYosemitePanel::configureOlder()
{
    if (!m_useContentSize || !m_actualContentView) {
        KZYosemiteWindow::configureOlder();
        return;
    }
    // The panel takes its content's size; the content keeps its frame.
    if (isWindow())
        setWindowFlag(Qt::FramelessWindowHint, false);
    resize(m_actualContentView->size());
    update();
    m_actualContentView->raise();
    repositionStandardButtons();
}
