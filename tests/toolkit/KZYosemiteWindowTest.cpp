#include "toolkit/KZYosemitePanel.h"
#include "toolkit/KZYosemiteWindow.h"
#include "toolkit/WindowContentView.h"
#include "toolkit/WindowHelpers.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPropertyAnimation>
#include <QTest>
#include <gtest/gtest.h>

TEST(KZYosemiteWindow, ContentCoversTheWholeWindowUnderItsOwnButtons)
{
    KZYosemiteWindow window;
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.contentView(), &window);
    EXPECT_EQ(window.actualContentView()->geometry(), QRect(0, 0, 400, 300));

    window.resize(500, 260);
    EXPECT_EQ(window.actualContentView()->geometry(), QRect(0, 0, 500, 260));

    QAbstractButton* close = window.standardWindowButton(KZYosemiteWindow::CloseButton);
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->isVisible());
    const QWidgetList children = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    EXPECT_GT(children.indexOf(close), children.indexOf(window.actualContentView())) << "buttons stay above the content";
    close->click();
    EXPECT_FALSE(window.isVisible());

    // A panel never gets a full-screen button.
    KZYosemitePanel panel;
    panel.setStandardButtons(KZYosemiteWindow::CloseButton | KZYosemiteWindow::FullScreenButton);
    EXPECT_NE(panel.standardWindowButton(KZYosemiteWindow::CloseButton), nullptr);
    EXPECT_EQ(panel.standardWindowButton(KZYosemiteWindow::FullScreenButton), nullptr);
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::Tool));
}

TEST(KZYosemiteWindow, TitleGoesToTheTitleLabelWhenThereIsOne)
{
    KZYosemiteWindow window;
    window.setTitle("Battery");
    EXPECT_EQ(window.windowTitle(), "Battery");

    auto* label = new QLabel(window.actualContentView());
    window.setActualTitleLabel(label);
    window.setTitle("History");
    EXPECT_EQ(window.windowTitle(), "History");
    EXPECT_EQ(label->text(), "History");

    window.setBackgroundColor(QColor(10, 20, 30));
    EXPECT_EQ(window.backgroundColor(), QColor(10, 20, 30));
}

TEST(KZYosemiteWindow, ContentSizeChangesKeepTheTopEdgeAndTheCentre)
{
    KZYosemiteWindow window;
    window.setGeometry(200, 150, 300, 200);

    kz_setContentSize(&window, QSizeF(300, 200), false);
    EXPECT_EQ(window.geometry(), QRect(200, 150, 300, 200));

    kz_setContentSize(&window, QSizeF(400, 240), false);
    EXPECT_EQ(window.geometry(), QRect(150, 150, 400, 240)) << "50 to the left, bottom edge 40 lower";

    kz_setContentSize(&window, QSizeF(300, 200), true);
    EXPECT_EQ(window.geometry(), QRect(150, 150, 400, 240)) << "an animated change is not at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.geometry() == QRect(200, 150, 300, 200); }, 2000));
}

TEST(KZYosemiteWindow, FullScreenFollowsTheWindowState)
{
    QWidget window;
    EXPECT_FALSE(kz_isFullScreen(&window));
    window.setWindowState(Qt::WindowFullScreen);
    EXPECT_TRUE(kz_isFullScreen(&window));
    EXPECT_FALSE(kz_isFullScreen(nullptr));
}
