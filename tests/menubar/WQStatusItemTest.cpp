#include "battery/KZTimer.h"
#include "menubar/WQStatusItem.h"
#include "platform/notifications/NotificationCenter.h"
#include "support/DarkPalette.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMenu>
#include <QPalette>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using S = WQStatusItem;

struct RecordingDelegate : WQStatusItemDelegate {
    bool implementsClick = true;
    std::optional<bool> allowMenu;
    int clicks = 0;
    int menuQuestions = 0;
    bool menuIconWasClicked() override
    {
        if (!implementsClick)
            return false;
        ++clicks;
        return true;
    }
    std::optional<bool> menuShouldShow() override
    {
        ++menuQuestions;
        return allowMenu;
    }
};

TEST(WQStatusItemTest, LengthAndRectanglesFollowTheBadge)
{
    S item;
    ASSERT_FALSE(item.currentImage().isNull());
    const QSizeF icon = S::imageSize(item.currentImage());
    EXPECT_EQ(item.statusItem()->length(), 24);
    EXPECT_TRUE(item.badgeDrawingRect().isNull());
    // Centred in the 24-point view, halves rounded away from zero.
    EXPECT_EQ(item.imageDrawingRect(),
              QRectF(std::round(12 - icon.width() / 2), std::round(item.bounds().height() / 2 - icon.height() / 2),
                     icon.width(), icon.height()));

    item.setBadge("42%");
    const double textWidth = QFontMetricsF(item.badgeFont()).horizontalAdvance("42%");
    const QRectF badge = item.badgeDrawingRect();
    EXPECT_EQ(item.imageDrawingRect().x(), 5);
    EXPECT_EQ(badge.x(), icon.width() + 10);
    EXPECT_EQ(badge.width(), std::ceil(icon.width() + 10 + textWidth) - (icon.width() + 10));
    EXPECT_EQ(badge.y(), std::ceil(item.bounds().height() * 0.5 - 8.5));
    EXPECT_EQ(badge.height(), 17);
    EXPECT_EQ(item.statusItem()->length(), badge.right() + 10);
    EXPECT_EQ(item.bounds().width(), item.statusItem()->length());

    // Without an icon the text starts at 10.
    item.setIconVisible(false);
    item.recalculateLength();
    EXPECT_EQ(item.badgeDrawingRect().x(), 10);
    EXPECT_TRUE(item.imageDrawingRect().isNull());
}

TEST(WQStatusItemTest, LengthChangeIsPostedOnlyWhenTheLengthChanges)
{
    S item;
    int posts = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        "WQStatusItemLengthDidChange", item.statusItem(), [&](const Notification&) { ++posts; });
    item.setBadge("Calculating...");
    item.setBadge("Calculating...");
    EXPECT_EQ(posts, 1);
    item.setBadge(QString());
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(item.statusItem()->length(), 24);
    NotificationCenter::defaultCenter().removeObserver(token);
}

TEST(WQStatusItemTest, IconNamesFollowTheState)
{
    S item;
    struct Case {
        qint64 state;
        qint64 color;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, "icon-normal"},
        {S::WQStatusItemStateDark, 0, "icon-normal-dark"},
        {S::WQStatusItemStateActive, 0, "icon-active"},
        {S::WQStatusItemStateActive | S::WQStatusItemStateDark, 0, "icon-active"},
        {S::WQStatusItemStateBlinking | S::WQStatusItemStateBlinkOn | S::WQStatusItemStateDark, 0, "icon-active-dark"},
        {S::WQStatusItemStateBlinking, 0, "icon-normal"},
        // A subclass colour: no named icon unless highlighted or in the blink-on phase, never dark.
        {0, 1, "icon-(null)"},
        {S::WQStatusItemStateBlinking | S::WQStatusItemStateBlinkOn | S::WQStatusItemStateDark, 1, "icon-active"},
    };
    for (const Case& c : cases) {
        item.setIconState(c.state);
        item.setIconColor(c.color);
        EXPECT_EQ(item.iconImageName(), c.name) << c.state << " " << c.color;
    }
    item.setIconState(0);
    item.setIconColor(1);
    EXPECT_TRUE(item.iconImage().isNull());
    item.setIconState(S::WQStatusItemStateActive);
    EXPECT_FALSE(item.iconImage().isNull());
    EXPECT_TRUE(item.iconCache().contains("icon-active"));
    EXPECT_FALSE(item.iconCache().contains("icon-(null)"));
}

TEST(WQStatusItemTest, ActiveAndBlinking)
{
    S item;
    item.setActive(true);
    EXPECT_TRUE(item.active());
    EXPECT_EQ(item.iconState() & S::WQStatusItemStateActive, S::WQStatusItemStateActive);
    item.toggleActive();   // flips the flag only
    EXPECT_TRUE(item.active());
    EXPECT_EQ(item.iconState() & S::WQStatusItemStateActive, 0);
    item.toggleActive();

    item.startBlinking();
    ASSERT_TRUE(item.blinkTimer());
    EXPECT_DOUBLE_EQ(item.blinkTimer()->interval(), 0.8);
    const auto timer = item.blinkTimer();
    item.startBlinking();
    EXPECT_EQ(item.blinkTimer(), timer);   // one timer only

    timer->timerDidFinish(nullptr);   // a tick while highlighted changes nothing
    EXPECT_EQ(item.iconState() & S::WQStatusItemStateBlinkOn, 0);
    item.setActive(false);
    timer->timerDidFinish(nullptr);
    EXPECT_NE(item.iconState() & S::WQStatusItemStateBlinkOn, 0);
    timer->timerDidFinish(nullptr);
    EXPECT_EQ(item.iconState() & S::WQStatusItemStateBlinkOn, 0);
    timer->timerDidFinish(nullptr);

    item.stopBlinking();
    EXPECT_FALSE(item.blinkTimer());
    EXPECT_EQ(item.iconState() & (S::WQStatusItemStateBlinking | S::WQStatusItemStateBlinkOn), 0);
}

TEST(WQStatusItemTest, ClicksGoToTheDelegateOrTheMenu)
{
    S item;
    QMenu menu;
    menu.addAction("Quit");
    item.setContextMenu(&menu);

    // No delegate: no menu at all.
    item.mouseDown(Qt::NoModifier);
    item.rightMouseDown();
    EXPECT_FALSE(menu.isVisible());

    RecordingDelegate delegate;
    item.setDelegate(&delegate);
    item.mouseDown(Qt::NoModifier);
    item.mouseDown(Qt::ControlModifier | Qt::ShiftModifier);   // counts as a left click
    EXPECT_EQ(delegate.clicks, 2);
    EXPECT_EQ(delegate.menuQuestions, 0);

    item.mouseDown(Qt::ControlModifier);   // a right click: never the click handler
    EXPECT_EQ(delegate.clicks, 2);
    EXPECT_EQ(delegate.menuQuestions, 1);
    EXPECT_FALSE(menu.isVisible());   // the delegate has no answer

    delegate.allowMenu = false;
    item.rightMouseDown();
    EXPECT_FALSE(menu.isVisible());

    delegate.allowMenu = true;
    item.rightMouseDown();
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    // A delegate without a click handler: a left click shows the menu.
    delegate.implementsClick = false;
    item.mouseDown(Qt::NoModifier);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    item.setDelegate(nullptr);
}

TEST(WQStatusItemTest, DarkBarIsTakenFromThePaletteAtEveryDrawingPass)
{
    S item;
    item.setBadge("Hi");
    item.setBadgeColor(Qt::black);
    item.setBadgeColorDark(QColor(0, 255, 0));
    EXPECT_EQ(item.iconState() & S::WQStatusItemStateDark, 0);
    // Text is antialiased: look for a mostly opaque pixel of about the colour.
    const auto hasPixel = [](const QImage& image, QRgb rgb) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() >= 160 && std::abs(c.red() - qRed(rgb)) < 40 && std::abs(c.green() - qGreen(rgb)) < 40
                    && std::abs(c.blue() - qBlue(rgb)) < 40)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(hasPixel(item.renderImage(), qRgb(0, 0, 0)));

    DarkPalette dark;
    const QImage image = item.renderImage();
    EXPECT_NE(item.iconState() & S::WQStatusItemStateDark, 0);
    EXPECT_EQ(item.iconImageName(), "icon-normal-dark");
    EXPECT_TRUE(hasPixel(image, qRgb(0, 255, 0)));
    EXPECT_TRUE(hasPixel(image, qRgb(255, 255, 255)));   // the white outline of the dark icon
}

TEST(WQStatusItemTest, DisplayHandsImageAndTooltipToTheTray)
{
    S item;
    item.setBadge("7%");
    EXPECT_TRUE(item.needsDisplay());
    QTest::qWait(1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(item.needsDisplay());
    EXPECT_EQ(item.statusItem()->image().size(), QSize(int(item.statusItem()->length()), 22));
    EXPECT_EQ(item.statusItem()->trayIcon()->toolTip(), "7%");
}

} // namespace
