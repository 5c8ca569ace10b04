#include "menubar/WQStatusItem.h"

#include "battery/KZTimer.h"
#include "menubar/MenuBarColors.h"
#include "platform/notifications/NotificationCenter.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDefaultLength = 24;
constexpr double kBadgeHeight = 17;
constexpr double kBlinkInterval = 0.8;

double screenPixelRatio()
{
    return qApp ? std::max(1.0, qApp->devicePixelRatio()) : 1.0;
}

} // namespace

WQStatusItem::WQStatusItem(QObject* parent)
    : QObject(parent)
{
    m_bounds = QRectF(0, 0, kDefaultLength, StatusBarItem::thickness());
    m_statusItem = new StatusBarItem(this);
    m_statusItem->setLength(StatusBarItem::kVariableLength);
    connect(m_statusItem, &StatusBarItem::clicked, this, &WQStatusItem::mouseDown);
    connect(m_statusItem, &StatusBarItem::rightClicked, this, &WQStatusItem::rightMouseDown);

    m_badgeColor = kz_menuBarDarkColor();
    m_badgeColorDark = QColor::fromRgbF(1, 1, 1, 1);
    m_iconColor = 0;
    m_iconState = 0;
    m_iconVisible = true;
    // The system font at 12 points; its digits are of equal width in the desktop's usual fonts.
    m_badgeFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    m_badgeFont.setPixelSize(12);
    m_badgeFont.setWeight(QFont::Normal);

    updateDarkModeState();
    m_currentImage = iconImage();
    recalculateLength();
}

WQStatusItem::~WQStatusItem()
{
    if (m_blinkTimer)
        m_blinkTimer->invalidate();
}

void WQStatusItem::setIconColor(qint64 iconColor)
{
    m_iconColor = iconColor;
    setNeedsDisplay();
}

void WQStatusItem::setIconState(qint64 iconState)
{
    m_iconState = iconState;
    setNeedsDisplay();
}

void WQStatusItem::setActive(bool active)
{
    m_active = active;
    setIconState(active ? (m_iconState | WQStatusItemStateActive) : (m_iconState & ~qint64(WQStatusItemStateActive)));
}

void WQStatusItem::setBadge(const QString& badge)
{
    m_badge = badge;
    recalculateLength();
    setNeedsDisplay();
}

void WQStatusItem::toggleActive()
{
    setIconState(m_iconState ^ WQStatusItemStateActive);
}

void WQStatusItem::startBlinking()
{
    setIconState(m_iconState | WQStatusItemStateBlinking);
    configureBlinkTimer();
}

void WQStatusItem::stopBlinking()
{
    if (m_blinkTimer) {
        m_blinkTimer->invalidate();
        m_blinkTimer.reset();
    }
    setIconState(m_iconState & ~qint64(WQStatusItemStateBlinking | WQStatusItemStateBlinkOn));
}

void WQStatusItem::configureBlinkTimer()
{
    if (m_blinkTimer)
        return;
    QPointer<WQStatusItem> weakSelf(this);
    m_blinkTimer = KZTimer::timerWithInterval(kBlinkInterval, true, [weakSelf](KZTimer&) {
        WQStatusItem* self = weakSelf.data();
        if (!self)
            return;
        if (self->m_iconState & WQStatusItemStateActive)
            return;
        if (!(self->m_iconState & WQStatusItemStateBlinking))
            return;
        self->setIconState(self->m_iconState ^ WQStatusItemStateBlinkOn);
    });
}

bool WQStatusItem::isDarkMode() const
{
    // The bar is dark when its background is darker than its text.
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
}

void WQStatusItem::updateDarkModeState()
{
    const bool dark = isDarkMode();
    const bool flagged = (m_iconState & WQStatusItemStateDark) != 0;
    if (dark == flagged)
        return;
    setIconState(dark ? (m_iconState | WQStatusItemStateDark) : (m_iconState & ~qint64(WQStatusItemStateDark)));
}

QString WQStatusItem::colorKeyForCurrentState() const
{
    if ((m_iconState & WQStatusItemStateActive)
        || ((m_iconState & WQStatusItemStateBlinking) && (m_iconState & WQStatusItemStateBlinkOn)))
        return QStringLiteral("active");
    if (m_iconColor == 0)
        return QStringLiteral("normal");
    return QString();
}

QString WQStatusItem::iconImageName() const
{
    // Without a colour key the name matches no image.
    QString name = QStringLiteral("icon-%1").arg(colorKeyForCurrentState().isNull() ? QStringLiteral("(null)")
                                                                                  : colorKeyForCurrentState());
    if ((m_iconState & WQStatusItemStateDark) && m_iconColor == 0 && !(m_iconState & WQStatusItemStateActive))
        name += QStringLiteral("-dark");
    return name;
}

QImage WQStatusItem::iconImage()
{
    if (!m_iconVisible)
        return QImage();
    const QString name = iconImageName();
    auto it = m_iconCache.constFind(name);
    if (it != m_iconCache.constEnd())
        return *it;
    QImage image = imageNamed(name);
    if (image.isNull())
        return QImage();
    m_iconCache.insert(name, image);
    return image;
}

QRectF WQStatusItem::imageDrawingRect() const
{
    if (m_currentImage.isNull())
        return QRectF();
    const QSizeF size = imageSize(m_currentImage);
    double x = std::round(m_bounds.x() + m_bounds.width() * 0.5 - size.width() * 0.5);
    const double y = std::round(m_bounds.y() + m_bounds.height() * 0.5 - size.height() * 0.5);
    if (!m_badge.isEmpty())
        x = 5;
    return QRectF(QPointF(x, y), size);
}

QRectF WQStatusItem::badgeDrawingRect() const
{
    if (m_badge.isEmpty())
        return QRectF();
    const double textWidth = QFontMetricsF(m_badgeFont).horizontalAdvance(m_badge);
    const double x = (m_currentImage.isNull() ? 0.0 : imageSize(m_currentImage).width()) + 5 + 5;
    const double y = std::ceil(m_bounds.height() * 0.5 - 8.5);
    // Rounded outward to whole points.
    const double left = std::floor(x);
    const double bottom = std::floor(y);
    const double right = std::ceil(x + textWidth);
    const double top = std::ceil(y + kBadgeHeight);
    return QRectF(left, bottom, right - left, top - bottom);
}

void WQStatusItem::recalculateLength()
{
    m_currentImage = iconImage();
    const QRectF badgeRect = badgeDrawingRect();
    double length = badgeRect.isNull() ? kDefaultLength : badgeRect.right() + 10;
    length = std::round(std::max(kDefaultLength, length));
    const double previous = m_statusItem->length();
    m_statusItem->setLength(length);
    m_bounds.setWidth(length);
    if (previous != length)
        NotificationCenter::defaultCenter().post(QStringLiteral("WQStatusItemLengthDidChange"), m_statusItem);
    setNeedsDisplay();
}

void WQStatusItem::showMenu()
{
    if (!m_delegate)
        return;
    const std::optional<bool> allowed = m_delegate->menuShouldShow();
    if (allowed && *allowed)
        m_statusItem->popUpStatusItemMenu(m_contextMenu);
}

void WQStatusItem::mouseDown(Qt::KeyboardModifiers modifiers)
{
    // Exactly Control (a key of the keypad does not count) makes it a right click.
    if ((modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        rightMouseDown();
        return;
    }
    if (m_delegate && m_delegate->menuIconWasClicked())
        return;
    showMenu();
}

void WQStatusItem::rightMouseDown()
{
    showMenu();
}

QRectF WQStatusItem::flipped(const QRectF& rect) const
{
    return QRectF(rect.x(), m_bounds.height() - rect.y() - rect.height(), rect.width(), rect.height());
}

void WQStatusItem::drawRect(QPainter& painter)
{
    updateDarkModeState();
    m_currentImage = iconImage();

    if (!m_badge.isEmpty()) {
        painter.save();
        const QColor color = isDarkMode() ? m_badgeColorDark : m_badgeColor;
        if (color.isValid()) {
            painter.setPen(color);
            painter.setFont(m_badgeFont);
        }
        painter.drawText(flipped(badgeDrawingRect()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_badge);
        painter.restore();
    }

    painter.save();
    if (!m_currentImage.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(1.0);
        painter.drawImage(flipped(imageDrawingRect()), m_currentImage);
    }
    painter.restore();
}

void WQStatusItem::setNeedsDisplay()
{
    if (m_needsDisplay)
        return;
    m_needsDisplay = true;
    QTimer::singleShot(0, this, [this] {
        if (m_needsDisplay)
            display();
    });
}

QImage WQStatusItem::renderImage()
{
    const double ratio = screenPixelRatio();
    QImage image((m_bounds.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawRect(painter);
    painter.end();
    return image;
}

void WQStatusItem::display()
{
    m_needsDisplay = false;
    m_statusItem->setImage(renderImage());
    m_statusItem->setToolTip(m_badge);
}

QImage WQStatusItem::imageNamed(const QString& name)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    if (!QFile::exists(path))
        return QImage();
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return QImage();
    const double ratio = screenPixelRatio();
    const QSize size = renderer.defaultSize();
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

QSizeF WQStatusItem::imageSize(const QImage& image)
{
    if (image.isNull())
        return QSizeF();
    return QSizeF(image.size()) / image.devicePixelRatio();
}
