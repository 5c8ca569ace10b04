#include "toolkit/KZButton.h"
#include "toolkit/KZCloseButtonCell.h"
#include "toolkit/KZMavericksButtonCell.h"
#include "toolkit/KZNShadowTextFieldCell.h"
#include "toolkit/KZNoScrollView.h"
#include "toolkit/KZOpenButtonCell.h"
#include "toolkit/KZPushButtonTheme.h"
#include "toolkit/KZView.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <map>

namespace {

QImage render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Whether two colours agree within `tolerance` per channel.
::testing::AssertionResult near(QColor actual, QColor expected, int tolerance = 2)
{
    const int d = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                            std::abs(actual.blue() - expected.blue()), std::abs(actual.alpha() - expected.alpha())});
    if (d <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.name(QColor::HexArgb).toStdString() << " is not "
                                         << expected.name(QColor::HexArgb).toStdString();
}

QColor grey(double white)
{
    return QColor::fromRgbF(float(white), float(white), float(white));
}

} // namespace

TEST(KZView, FillsAtTheColourAlphaTimesTheViewAlphaAndDrawsNoBorderAtWidthZero)
{
    KZView view;
    view.resize(40, 30);
    view.setBackgroundColor(QColor::fromRgbF(1, 0, 0, 0.8f));
    view.setAlphaValue(0.5);
    view.setBorderColor(Qt::blue);
    view.setBorderWidth(0);
    QImage image = render(view);
    EXPECT_TRUE(near(image.pixelColor(20, 15), QColor::fromRgbF(1, 0, 0, 0.4f)));
    EXPECT_TRUE(near(image.pixelColor(0, 0), QColor::fromRgbF(1, 0, 0, 0.4f))) << "no border at width 0";

    view.setBorderWidth(4);
    image = render(view);
    EXPECT_TRUE(near(image.pixelColor(0, 15), Qt::blue));
    EXPECT_TRUE(near(image.pixelColor(20, 15), QColor::fromRgbF(1, 0, 0, 0.4f)));

    // Round corners leave the corner pixel empty; no colour means no fill.
    KZView rounded;
    rounded.resize(40, 30);
    rounded.setBackgroundColor(Qt::green);
    rounded.setCornerRadius(10);
    EXPECT_EQ(render(rounded).pixelColor(0, 0).alpha(), 0);
    KZView empty;
    empty.resize(10, 10);
    EXPECT_EQ(render(empty).pixelColor(5, 5).alpha(), 0);
}

TEST(KZView, ShadowFallsUnderTheFillAndTheImageIsDrawnAtTheViewAlpha)
{
    QWidget canvas;
    canvas.resize(60, 60);
    auto* view = new KZView(&canvas);
    view->setGeometry(10, 10, 40, 40);
    QImage layer(4, 4, QImage::Format_ARGB32);
    layer.fill(Qt::white);
    view->setBackgroundImage(layer);
    view->setAlphaValue(0.5);
    QImage image = render(canvas);
    EXPECT_TRUE(near(image.pixelColor(30, 30), QColor::fromRgbF(1, 1, 1, 0.5f)));


    // The shadow is drawn under the fill: it shows where the rounded fill leaves the view free.
    KZView shadowed;
    shadowed.resize(40, 40);
    shadowed.setBackgroundColor(Qt::red);
    shadowed.setCornerRadius(10);
    EXPECT_EQ(render(shadowed).pixelColor(39, 39).alpha(), 0);
    shadowed.setShadow(KZShadow {Qt::black, QPointF(3, 3), 0});
    image = render(shadowed);
    EXPECT_TRUE(near(image.pixelColor(39, 39), Qt::black, 10));
    EXPECT_TRUE(near(image.pixelColor(20, 20), Qt::red));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST(KZMavericksButtonCell, ThemeFollowsTheBezelStyle)
{
    KZMavericksButtonCell cell("OK");
    EXPECT_NE(std::dynamic_pointer_cast<KZPushButtonTheme>(cell.buttonTheme()), nullptr);
    cell.setBezelStyle(KZMavericksButtonCell::TexturedRoundedBezelStyle);
    EXPECT_NE(cell.buttonTheme(), nullptr);
    cell.setBezelStyle(KZMavericksButtonCell::RecessedBezelStyle);
    EXPECT_EQ(cell.buttonTheme(), nullptr);

    // Without a theme it draws exactly like a plain button.
    cell.resize(100, 30);
    QPushButton plain("OK");
    plain.resize(100, 30);
    EXPECT_EQ(render(cell), render(plain));

    KZOpenButtonCell open("Open");
    open.setBezelStyle(KZMavericksButtonCell::RecessedBezelStyle);
    EXPECT_NE(open.buttonTheme(), nullptr) << "the open and close buttons are themed whatever their style";
    EXPECT_NE(KZCloseButtonCell("Close").buttonTheme(), nullptr);
}

TEST(KZMavericksButtonCell, ThemedBezelColoursTurnOverWhilePressed)
{
    KZOpenButtonCell open("");
    open.resize(100, 30);
    // The outline lies 0.5 in and 1.5 down; inside it the first colour sits at the bottom, the last
    // at the top.
    const QColor first = QColor::fromRgbF(0.2196f, 0.4824f, 0.8157f);
    const QColor last = QColor::fromRgbF(0.3137f, 0.6431f, 0.902f);
    QImage image = render(open);
    EXPECT_TRUE(near(image.pixelColor(50, 3), last, 8));
    EXPECT_TRUE(near(image.pixelColor(50, 26), first, 8));
    EXPECT_TRUE(near(image.pixelColor(0, 15), QColor::fromRgbF(0.251f, 0.5059f, 0.6863f), 40)) << "the stroke";
    EXPECT_EQ(image.pixelColor(50, 0).alpha(), 0) << "above the outline";

    open.setDown(true);
    image = render(open);
    EXPECT_TRUE(near(image.pixelColor(50, 3), first, 8));
    EXPECT_TRUE(near(image.pixelColor(50, 26), last, 8));

    // The push outline sits 7.5 in and 4.5 down, 3 shorter at the bottom; grey below 40 %, white above.
    KZMavericksButtonCell push("");
    push.resize(100, 40);
    image = render(push);
    EXPECT_EQ(image.pixelColor(5, 20).alpha(), 0);
    EXPECT_TRUE(near(image.pixelColor(50, 10), Qt::white, 3));
    EXPECT_TRUE(near(image.pixelColor(50, 30), grey(0.94), 3));
    EXPECT_EQ(image.pixelColor(50, 38).alpha(), 0);
}

TEST(KZMavericksButtonCell, DisabledTitleIsDrawnAtSixTenthsAlpha)
{
    KZOpenButtonCell open("");
    open.resize(60, 24);
    QImage canvas(60, 24, QImage::Format_ARGB32);
    const auto titleAlpha = [&] {
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        open.drawTitle(painter, QStringLiteral("█████"), QRectF(0, 0, 60, 24));
        painter.end();
        // The alpha most of the title's (white) pixels have: inside the glyphs, not at their edges.
        std::map<int, int> counts;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (canvas.pixelColor(x, y).red() > 200)
                    ++counts[canvas.pixelColor(x, y).alpha()];
        auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& l, const auto& r) { return l.second < r.second; });
        return most == counts.end() ? 0 : most->first;
    };
    EXPECT_EQ(titleAlpha(), 255);
    open.setEnabled(false);
    EXPECT_NEAR(titleAlpha(), 153, 2);
}

TEST(KZButton, PointingHandWhileHovered)
{
    KZButton button("Link");
    EXPECT_TRUE(button.hasTrackingArea());
    EXPECT_TRUE(button.testAttribute(Qt::WA_Hover));
    button.mouseEntered();
    EXPECT_TRUE(button.cell().hovered());
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    button.mouseExited();
    EXPECT_FALSE(button.cell().hovered());
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);
}

TEST(KZNoScrollView, WheelEventsDoNotScroll)
{
    KZNoScrollView view;
    view.resize(100, 100);
    auto* content = new QWidget;
    content->resize(100, 1000);
    view.setWidget(content);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QWheelEvent wheel(QPointF(50, 50), view.mapToGlobal(QPointF(50, 50)), QPoint(0, -120), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_FALSE(wheel.isAccepted());
}

TEST(KZNShadowTextFieldCell, DrawsAWhiteCopyOnePointBelowTheText)
{
    KZNShadowTextFieldCell label(QStringLiteral("█"));
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.resize(label.sizeHint() + QSize(4, 4));
    const QImage image = render(label);
    // Under the lowest black row of the glyph lies a white one.
    int lowestBlack = -1;
    const int x = 2;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y).alpha() > 200 && image.pixelColor(x, y).lightness() < 60)
            lowestBlack = y;
    ASSERT_GE(lowestBlack, 0);
    EXPECT_GT(image.pixelColor(x, lowestBlack + 1).lightness(), 200);
    EXPECT_EQ(KZNShadowTextFieldCell::sharedShadow().offset, QPointF(0, 1));
}
