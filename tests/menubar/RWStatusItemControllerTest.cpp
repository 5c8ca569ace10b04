#include "PowerSupplyTree.h"

#include "app/settings/QVUserDefaults.h"
#include "menubar/ColorUtilities.h"
#include "menubar/MenuBarColors.h"
#include "menubar/QVColorStateManager.h"
#include "menubar/RWMenuItemController.h"
#include "menubar/RWStatusItemController.h"
#include "menubar/ThemeColors.h"
#include "toolkit/KZView.h"
#include "support/DarkPalette.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

#include <memory>

namespace {

using S = WQStatusItem;

// Compares colours to 1/255 per channel.
bool sameColor(const QColor& a, const QColor& b)
{
    return a.alpha() == b.alpha() && std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1
        && std::abs(a.blue() - b.blue()) <= 1;
}

// The charge bar's row in an icon image (origin top left): the middle of the 8-point inner area.
int filledBarWidth(const QImage& icon, const QColor& fill)
{
    const int row = int(S::imageSize(icon).height()) - 2 - 4;
    int width = 0;
    for (int x = 2; x < 18; ++x)
        if (sameColor(icon.pixelColor(x, row), fill))
            ++width;
    return width;
}

// A mostly opaque pixel of about the colour inside the rectangle (text is antialiased).
bool hasTextPixel(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() >= 160 && std::abs(c.red() - color.red()) < 40 && std::abs(c.green() - color.green()) < 40
                && std::abs(c.blue() - color.blue()) < 40)
                return true;
        }
    return false;
}

class RWStatusItemControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QVUserDefaults::standardFilePath());
        QVUserDefaults::resetStandardUserDefaults();
    }
    QVUserDefaults& defaults() { return QVUserDefaults::standardUserDefaults(); }
    std::unique_ptr<RWStatusItemController> makeController()
    {
        auto controller = std::make_unique<RWStatusItemController>();
        controller->loadViewIfNeeded();
        return controller;
    }
    PowerSupplyTree tree;
};

TEST_F(RWStatusItemControllerTest, TextColourAndRedFlagFollowTheReading)
{
    struct Case {
        const char* name;
        PowerSupplyState state;
        qint64 display;
        const char* text;
        bool red;
    };
    const Case cases[] = {
        {"42 % on battery", {true, 42, "Discharging", false, 7200}, 0, "42%", false},
        {"10 % on battery", {true, 10, "Discharging", false, 7200}, 0, "10%", true},
        {"11 % on battery", {true, 11, "Discharging", false, 7200}, 0, "11%", false},
        {"10 % on mains", {true, 10, "Charging", true, -1}, 0, "10%", false},
        {"300 s left", {true, 30, "Discharging", false, 300}, 1, "00:05", true},
        {"301 s left", {true, 30, "Discharging", false, 301}, 1, "00:05", false},
        {"5400 s left", {true, 80, "Discharging", false, 5400}, 1, "01:30", false},
        {"estimating", {true, 30, "Discharging", false, -1}, 1, "Calculating...", false},
        {"on mains, time", {true, 30, "Charging", true, -1}, 1, "\u221E", false},
    };
    auto controller = makeController();
    QVStatusItem* item = controller->statusItem();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree.apply(c.state);
        defaults().setMenuBarDisplay(c.display);   // observed: updates at once
        EXPECT_EQ(item->badge(), QString::fromUtf8(c.text));
        EXPECT_EQ(item->goRed(), c.red);
        const QColor light = c.red ? QVStatusItem::alertRedColor() : kz_menuBarDarkColor();
        const QColor dark = c.red ? QVStatusItem::alertRedColor() : QColor(Qt::white);
        EXPECT_TRUE(sameColor(item->badgeColor(), light));
        EXPECT_TRUE(sameColor(item->badgeColorDark(), dark));
    }

    // With the warning off nothing turns red.
    tree.apply({true, 10, "Discharging", false, 7200});
    defaults().setMenuBarDisplay(0);
    defaults().setMenuBarColor(0);
    EXPECT_FALSE(item->goRed());
}

TEST_F(RWStatusItemControllerTest, TrayPictureShowsBarTextAndIcons)
{
    tree.apply({true, 42, "Discharging", false, 7200});
    auto controller = makeController();
    QVStatusItem* item = controller->statusItem();

    // 42 % on battery: outline with a 7-point bar in the bar's dark colour, text beside it.
    QImage picture = item->renderImage();
    const QRectF iconRect = item->imageDrawingRect();
    ASSERT_EQ(iconRect.x(), 5);
    const int top = int(item->bounds().height() - iconRect.y() - iconRect.height());
    const QImage iconPart = picture.copy(QRect(5, top, int(iconRect.width()), int(iconRect.height())));
    EXPECT_EQ(filledBarWidth(iconPart, kz_menuBarDarkColor()), 7);
    EXPECT_TRUE(sameColor(iconPart.pixelColor(0, 6), kz_menuBarDarkColor()));   // the outline
    const QRectF badge = item->badgeDrawingRect();
    const QRect textArea(int(badge.x()), int(item->bounds().height() - badge.y() - badge.height()),
                         int(badge.width()), int(badge.height()));
    EXPECT_TRUE(hasTextPixel(picture, textArea, kz_menuBarDarkColor()));
    EXPECT_FALSE(hasTextPixel(picture, textArea, QVStatusItem::alertRedColor()));
    EXPECT_EQ(item->statusItem()->length(), badge.right() + 10);

    // 10 %: text and icon red.
    tree.apply({true, 10, "Discharging", false, 7200});
    controller->update();
    picture = item->renderImage();
    EXPECT_TRUE(hasTextPixel(picture, textArea, QVStatusItem::alertRedColor()));
    EXPECT_TRUE(sameColor(picture.pixelColor(5, top + 6), QVStatusItem::alertRedColor()));
    EXPECT_EQ(filledBarWidth(item->iconImage(), QVStatusItem::alertRedColor()), 2);

    // On mains: the plug, no bar; without a battery: the no-battery icon and no text.
    tree.apply({true, 10, "Charging", true, -1});
    controller->update();
    EXPECT_EQ(item->iconImage(), item->batteryImage(item->chargingImage(), kz_menuBarDarkColor()));
    tree.apply({false});
    controller->update();
    EXPECT_TRUE(item->badge().isEmpty());
    EXPECT_EQ(item->statusItem()->length(), 24);
    EXPECT_EQ(item->iconImage(), item->batteryImage(item->noBatteryImage(), kz_menuBarDarkColor()));
    EXPECT_EQ(item->imageDrawingRect().x(), std::round(12 - S::imageSize(item->noBatteryImage()).width() / 2));
}

TEST_F(RWStatusItemControllerTest, IconColoursFollowStateAndBar)
{
    auto controller = makeController();
    QVStatusItem* item = controller->statusItem();

    // Highlighted while charging: a blue plug on light and dark bars.
    tree.apply({true, 50, "Charging", true, -1});
    item->setActive(true);
    EXPECT_EQ(item->iconImage(), item->batteryImage(item->chargingImage(), rw_blueColor()));
    {
        DarkPalette dark;
        item->updateDarkModeState();
        EXPECT_EQ(item->iconImage(), item->batteryImage(item->chargingImage(), rw_blueColor()));
        item->setActive(false);
        EXPECT_EQ(item->iconImage(), item->batteryImage(item->chargingImage(), Qt::white));
    }
    item->updateDarkModeState();

    // Highlighted on battery at 80 %: green bar (13 points), dark outline; white outline on a dark bar.
    tree.apply({true, 80, "Discharging", false, 7200});
    item->setActive(true);
    QImage icon = item->iconImage();
    EXPECT_EQ(filledBarWidth(icon, rw_greenColor()), 13);
    EXPECT_TRUE(sameColor(icon.pixelColor(0, 6), kz_menuBarDarkColor()));
    {
        DarkPalette dark;
        item->updateDarkModeState();
        icon = item->iconImage();
        EXPECT_EQ(filledBarWidth(icon, rw_greenColor()), 13);
        EXPECT_TRUE(sameColor(icon.pixelColor(0, 6), Qt::white));
        item->setActive(false);
        EXPECT_EQ(filledBarWidth(item->iconImage(), Qt::white), 13);
    }
    item->updateDarkModeState();
    // Warning and low states colour the highlighted bar.
    tree.apply({true, 50, "Discharging", false, 7200});
    item->setActive(true);
    EXPECT_EQ(filledBarWidth(item->iconImage(), rw_orangeColor()), 8);
    tree.apply({true, 5, "Discharging", false, 7200});
    defaults().setMenuBarColor(0);
    EXPECT_EQ(filledBarWidth(item->iconImage(), rw_redColor()), 1);
}

TEST_F(RWStatusItemControllerTest, ChargeBarWidths)
{
    auto controller = makeController();
    QVStatusItem* item = controller->statusItem();
    const struct {
        double level;
        int width;
    } cases[] = {{0, 0}, {-0.5, 0}, {0.01, 1}, {0.42, 7}, {0.5, 8}, {1.0, 16}, {1.3, 16}};
    for (const auto& c : cases) {
        const QImage icon = item->batteryImage(item->baseImage(), c.level, Qt::black, rw_greenColor());
        EXPECT_EQ(filledBarWidth(icon, rw_greenColor()), c.width) << c.level;
        // Transparent pixels stay transparent after tinting; the rest of the inner area is empty.
        EXPECT_EQ(icon.pixelColor(17, 6).alpha(), c.width == 16 ? 255 : 0) << c.level;
    }
}

TEST_F(RWStatusItemControllerTest, ShowInfoOffRemovesTheTextAtOnce)
{
    tree.apply({true, 42, "Discharging", false, 7200});
    auto controller = makeController();
    QVStatusItem* item = controller->statusItem();
    ASSERT_EQ(item->badge(), "42%");
    defaults().setMenuBarShowInfo(false);
    EXPECT_TRUE(item->badge().isEmpty());
    EXPECT_EQ(item->statusItem()->length(), 24);
    defaults().setMenuBarShowInfo(true);
    EXPECT_EQ(item->badge(), "42%");
    // A write that bypasses the settings object changes nothing until the next refresh.
    defaults().settings().setValue("menuBarShowInfo", false);
    EXPECT_EQ(item->badge(), "42%");
    controller->update();
    EXPECT_TRUE(item->badge().isEmpty());
}

TEST_F(RWStatusItemControllerTest, StatusMenuBecomesTheContextMenu)
{
    auto controller = makeController();
    QMenu menu;
    controller->setStatusMenu(&menu);
    EXPECT_EQ(controller->statusItem()->contextMenu(), &menu);
    EXPECT_EQ(controller->statusMenu(), &menu);
}

TEST(RWStatusItemControllerTime, TimeText)
{
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{0, "0"}, {5400, "01:30"}, {59, "00:00"}, {36000, "10:00"}, {300, "00:05"}, {-30, "00:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(RWStatusItemController::timeStringWithSeconds(c.seconds), c.text) << c.seconds;
}

TEST_F(RWStatusItemControllerTest, ColourStates)
{
    QVColorStateManager grade;
    const struct {
        double value;
        long long state;
    } values[] = {{1.0, 0}, {0.75, 0}, {0.7499, 1}, {0.1000001, 1}, {0.1, 2}, {0.0, 2}};
    for (const auto& c : values)
        EXPECT_EQ(grade.colorStateWithValue(c.value), c.state) << c.value;

    defaults().setMenuBarDisplay(1);
    const struct {
        PowerSupplyState state;
        long long grade;
    } times[] = {
        {{true, 50, "Discharging", false, 3600}, 0}, {{true, 50, "Discharging", false, 3599}, 1},
        {{true, 50, "Discharging", false, 301}, 1},  {{true, 50, "Discharging", false, 300}, 2},
        {{true, 50, "Discharging", false, -1}, 0},   {{true, 50, "Charging", true, -1}, 0},
    };
    for (const auto& c : times) {
        tree.apply(c.state);
        EXPECT_EQ(QVColorStateManager().colorState(), c.grade) << c.state.timeToEmpty;
    }
    defaults().setMenuBarDisplay(0);
    tree.apply({true, 10, "Discharging", false, 7200});
    EXPECT_EQ(QVColorStateManager().colorState(), 2);
}

TEST(PaletteTest, ColoursAndCache)
{
    EXPECT_TRUE(sameColor(kz_menuBarDarkColor(), QColor(57, 57, 57)));
    EXPECT_TRUE(sameColor(rw_greenColor(), QColor::fromRgbF(0.1804f, 0.8f, 0.4431f)));
    EXPECT_TRUE(sameColor(rw_reallyLightGrayColor(), QColor::fromRgbF(0.92f, 0.92f, 0.92f)));
    EXPECT_FALSE(rw_cachedColorWithKey("rw_purpleColor"));
    const QColor purple = rw_purpleColor();
    ASSERT_TRUE(rw_cachedColorWithKey("rw_purpleColor"));
    EXPECT_EQ(*rw_cachedColorWithKey("rw_purpleColor"), purple);

    EXPECT_TRUE(sameColor(kz_colorWithEasyHue(120, 100, 50), QColor::fromHsvF(120.0f / 360, 1.0f, 0.5f)));
    EXPECT_NEAR(kz_colorWithEasyHue(0, 0, 0, 0.5).alphaF(), 0.5, 1e-4);
    EXPECT_EQ(kz_colorWithCGColorRef(kz_CGColorRef(rw_blueColor()))->rgba(), rw_blueColor().rgba());
    EXPECT_FALSE(kz_colorWithCGColorRef(std::nullopt));
}

TEST(RWMenuItemControllerTest, RowShowsTitleValueAndSwatch)
{
    auto row = KZViewController::controller<RWMenuItemController>("Current Charge", "3200 mAh", rw_greenColor());
    EXPECT_EQ(row->titleLabel()->text(), "Current Charge");
    EXPECT_EQ(row->valueLabel()->text(), "3200 mAh");
    EXPECT_FALSE(row->colorIndicator()->isHidden());
    EXPECT_EQ(row->colorIndicator()->backgroundColor(), rw_greenColor());

    auto plain = KZViewController::controller<RWMenuItemController>("Cycles", "12");
    EXPECT_TRUE(plain->colorIndicator()->isHidden());
    plain->setValue("13");
    EXPECT_EQ(plain->valueLabel()->text(), "13");
}

} // namespace
