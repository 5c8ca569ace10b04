#include "toolkit/KZYosemiteWindow.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int kButtonSize = 12;
constexpr int kButtonMargin = 8;
constexpr int kButtonSpacing = 8;

// One of the window's own round title buttons, drawn with a small glyph.
class KZWindowButton : public QAbstractButton {
public:
    KZWindowButton(KZYosemiteWindow::StandardButton kind, QWidget* parent)
        : QAbstractButton(parent)
        , m_kind(kind)
    {
        setFixedSize(kButtonSize, kButtonSize);
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover, true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const QColor fill = isDown() ? QColor(0x9A, 0x9A, 0x9A) : QColor(0xC8, 0xC8, 0xC8);
        painter.setPen(QPen(QColor(0, 0, 0, 0x40), 1));
        painter.setBrush(fill);
        painter.drawEllipse(box);
        if (!underMouse() && !isDown())
            return;
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
        const QPointF c = box.center();
        const qreal r = box.width() * 0.25;
        switch (m_kind) {
        case KZYosemiteWindow::CloseButton:
            painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
            painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
            break;
        case KZYosemiteWindow::MiniaturizeButton:
            painter.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
            break;
        case KZYosemiteWindow::ZoomButton:
            painter.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
            painter.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
            break;
        case KZYosemiteWindow::FullScreenButton:
            painter.drawRect(QRectF(c - QPointF(r, r), c + QPointF(r, r)));
            break;
        }
    }

private:
    KZYosemiteWindow::StandardButton m_kind;
};

} // namespace

KZYosemiteWindow::KZYosemiteWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("actualContentView"));
    m_actualContentView = content;
    rebuildStandardButtons();
    configureContentView();
}

void KZYosemiteWindow::setActualContentView(QWidget* view)
{
    if (view == m_actualContentView)
        return;
    delete m_actualContentView.data();
    m_actualContentView = view;
    if (view)
        view->setParent(this);
    configureContentView();
}

void KZYosemiteWindow::setActualTitleLabel(QLabel* label)
{
    m_actualTitleLabel = label;
    if (label)
        label->setText(windowTitle());
}

QColor KZYosemiteWindow::contentBackgroundColor() const
{
    const QWidget* content = m_actualContentView ? m_actualContentView.data() : this;
    return content->palette().color(content->backgroundRole());
}

QWidget* KZYosemiteWindow::contentView()
{
    if (supportsFullsizeContentView())
        return this;
    return m_actualContentView;
}

void KZYosemiteWindow::setTitle(const QString& title)
{
    setWindowTitle(title);
    if (m_actualTitleLabel)
        m_actualTitleLabel->setText(title);
}

void KZYosemiteWindow::setBackgroundColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
    if (!supportsFullsizeContentView())
        update();
}

QColor KZYosemiteWindow::backgroundColor() const
{
    return palette().color(QPalette::Window);
}

void KZYosemiteWindow::setStandardButtons(StandardButtons buttons)
{
    m_standardButtons = buttons;
    rebuildStandardButtons();
}

QAbstractButton* KZYosemiteWindow::standardWindowButton(StandardButton which) const
{
    for (const QPointer<QAbstractButton>& button : m_buttons) {
        if (button && button->property("kzStandardButton").toInt() == int(which))
            return button;
    }
    return nullptr;
}

KZYosemiteWindow::StandardButtons KZYosemiteWindow::allowedStandardButtons() const
{
    return StandardButtons(CloseButton | MiniaturizeButton | ZoomButton | FullScreenButton);
}

void KZYosemiteWindow::rebuildStandardButtons()
{
    for (const QPointer<QAbstractButton>& button : std::as_const(m_buttons))
        delete button.data();
    m_buttons.clear();
    const StandardButtons wanted = m_standardButtons & allowedStandardButtons();
    for (StandardButton kind : {CloseButton, MiniaturizeButton, ZoomButton, FullScreenButton}) {
        if (!wanted.testFlag(kind))
            continue;
        auto* button = new KZWindowButton(kind, this);
        button->setProperty("kzStandardButton", int(kind));
        switch (kind) {
        case CloseButton:
            connect(button, &QAbstractButton::clicked, this, &QWidget::close);
            break;
        case MiniaturizeButton:
            connect(button, &QAbstractButton::clicked, this, &QWidget::showMinimized);
            break;
        case ZoomButton:
            connect(button, &QAbstractButton::clicked, this, [this] { isMaximized() ? showNormal() : showMaximized(); });
            break;
        case FullScreenButton:
            connect(button, &QAbstractButton::clicked, this, [this] { isFullScreen() ? showNormal() : showFullScreen(); });
            break;
        }
        m_buttons.append(button);
    }
    repositionStandardButtons();
}

void KZYosemiteWindow::configureContentView()
{
    if (supportsFullsizeContentView())
        configureYosemite();
    else
        configureOlder();
    // The content follows the window's size (see resizeEvent).
}

void KZYosemiteWindow::configureYosemite()
{
    // No system title bar: the window's own content covers the title area.
    if (isWindow())
        setWindowFlag(Qt::FramelessWindowHint, true);
    if (m_actualContentView) {
        m_actualContentView->setGeometry(QRect(QPoint(0, 0), size()));
        m_actualContentView->raise();
    }
    repositionStandardButtons();
}

void KZYosemiteWindow::configureOlder()
{
    // The system title bar stays and carries the system buttons; the content fills the window.
    if (isWindow())
        setWindowFlag(Qt::FramelessWindowHint, false);
    if (m_actualContentView) {
        m_actualContentView->setGeometry(QRect(QPoint(0, 0), size()));
        m_actualContentView->raise();
    }
    repositionStandardButtons();
}

void KZYosemiteWindow::repositionStandardButtons()
{
    int x = kButtonMargin;
    for (const QPointer<QAbstractButton>& button : std::as_const(m_buttons)) {
        if (!button)
            continue;
        // Where the system draws its own title bar, its buttons serve instead.
        button->setVisible(supportsFullsizeContentView());
        button->move(x, kButtonMargin);
        button->raise();
        x += kButtonSize + kButtonSpacing;
    }
}

void KZYosemiteWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_actualContentView)
        m_actualContentView->setGeometry(QRect(QPoint(0, 0), size()));
    repositionStandardButtons();
}

void KZYosemiteWindow::mousePressEvent(QMouseEvent* event)
{
    // A press that no control took moves the window, as a title bar would.
    if (event->button() == Qt::LeftButton && supportsFullsizeContentView() && windowHandle()) {
        if (windowHandle()->startSystemMove()) {
            event->accept();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}
