#include "alerts/KZNBackgroundView.h"
#include "alerts/KZUserNotification.h"
#include "alerts/KZUserNotificationCenter.h"
#include "alerts/KZUserNotificationWindowController.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

std::shared_ptr<KZUserNotification> makeNotification(const QString& subtitle, const QString& text = QString())
{
    auto n = std::make_shared<KZUserNotification>();
    n->setTitle("Voltara");
    n->setSubtitle(subtitle);
    n->setInformativeText(text);
    return n;
}

class RecordingDelegate : public KZUserNotificationCenterDelegate {
public:
    bool kz_userNotificationCenterDidActivateNotification(KZUserNotificationCenter&,
                                                          const std::shared_ptr<KZUserNotification>& n) override
    {
        activated.push_back(n);
        return true;
    }
    bool kz_userNotificationCenterDidDismissNotification(KZUserNotificationCenter&,
                                                         const std::shared_ptr<KZUserNotification>& n) override
    {
        dismissed.push_back(n);
        return true;
    }
    std::vector<std::shared_ptr<KZUserNotification>> activated;
    std::vector<std::shared_ptr<KZUserNotification>> dismissed;
};

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The expected top-left corner of a window of that size in slot `index`.
QPoint slot(const QWidget* window, int index)
{
    return QPoint(available().right() + 1 - window->width() - 14, available().top() + 10 + index * (window->height() + 10));
}

bool shownAt(KZUserNotificationWindowController& controller, int index)
{
    QWidget* w = controller.window();
    return w->isVisible() && qFuzzyCompare(w->windowOpacity(), 1.0) && w->pos() == slot(w, index);
}

class KZUserNotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override { center.setDelegate(&delegate); }

    std::shared_ptr<KZUserNotificationWindowController> deliverAndWait(const std::shared_ptr<KZUserNotification>& n)
    {
        center.deliverNotification(n);
        auto controller = center.windowControllers().front();
        EXPECT_EQ(controller->notification(), n);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shownAt(*controller, 0); }));
        return controller;
    }

    // Sends a mouse event to the background view at a global position.
    static void mouse(KZNBackgroundView* view, QEvent::Type type, const QPoint& global)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(view->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    // Presses in the middle of the window, drags `distance` points to the right in steps of
    // `step`, and lets go.
    static void drag(KZUserNotificationWindowController& controller, int distance, int step)
    {
        KZNBackgroundView* view = controller.contentView();
        QPoint global = view->mapToGlobal(view->rect().center());
        mouse(view, QEvent::MouseButtonPress, global);
        for (int moved = 0; moved < distance; moved += step) {
            global.rx() += step;
            mouse(view, QEvent::MouseMove, global);
        }
        mouse(view, QEvent::MouseButtonRelease, global);
    }

    KZUserNotificationCenter center{nullptr};
    RecordingDelegate delegate;
};

TEST_F(KZUserNotificationCenterTest, WindowsStackNewestOnTopAndCloseUpTheGap)
{
    EXPECT_FALSE(center.supportsNotificationCenter());
    auto first = makeNotification("first");
    auto second = makeNotification("second");
    auto third = makeNotification("third");
    for (const auto& n : {first, second, third})
        center.deliverNotification(n);

    ASSERT_EQ(center.windowControllers().size(), 3u);
    const auto top = center.windowControllers()[0];
    const auto middle = center.windowControllers()[1];
    const auto bottom = center.windowControllers()[2];
    EXPECT_EQ(top->notification(), third);
    EXPECT_EQ(middle->notification(), second);
    EXPECT_EQ(bottom->notification(), first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownAt(*top, 0) && shownAt(*middle, 1) && shownAt(*bottom, 2); }));
    EXPECT_EQ(top->subtitleLabel()->text(), "third");
    // 10 points under the top of the available area, 14 from its right edge.
    EXPECT_EQ(top->window()->geometry().top(), available().top() + 10);
    EXPECT_EQ(top->window()->geometry().right(), available().right() - 14);

    QTest::mouseClick(middle->otherButton(), Qt::LeftButton);
    ASSERT_EQ(center.windowControllers().size(), 2u);
    EXPECT_EQ(delegate.dismissed, std::vector<std::shared_ptr<KZUserNotification>>{second});
    EXPECT_TRUE(delegate.activated.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownAt(*top, 0) && shownAt(*bottom, 1) && !middle->window()->isVisible(); }));
    EXPECT_EQ(center.windowControllers()[1], bottom);
}

TEST_F(KZUserNotificationCenterTest, ClickActivatesSlowDragSpringsBackLongDragDismisses)
{
    auto n = makeNotification("swipe me");
    auto controller = deliverAndWait(n);
    QWidget* window = controller->window();
    const QPoint home = window->pos();

    drag(*controller, 150, 5);
    EXPECT_TRUE(controller->contentView()->didDrag());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pos() == home && qFuzzyCompare(window->windowOpacity(), 1.0); }));
    EXPECT_EQ(center.windowControllers().size(), 1u);
    EXPECT_TRUE(delegate.dismissed.empty());

    drag(*controller, 250, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return center.windowControllers().empty(); }));
    EXPECT_EQ(delegate.dismissed, std::vector<std::shared_ptr<KZUserNotification>>{n});
    EXPECT_TRUE(delegate.activated.empty());
    // Dismissed where it was let go, not sent to the screen's edge.
    EXPECT_GE(window->x(), home.x() + 250);
    EXPECT_LT(window->x(), available().right());

    auto clicked = makeNotification("click me");
    auto other = deliverAndWait(clicked);
    KZNBackgroundView* view = other->contentView();
    const QPoint global = view->mapToGlobal(QPoint(20, 20));
    mouse(view, QEvent::MouseButtonPress, global);
    mouse(view, QEvent::MouseButtonRelease, global);
    EXPECT_EQ(delegate.activated, std::vector<std::shared_ptr<KZUserNotification>>{clicked});
    EXPECT_TRUE(center.windowControllers().empty());
}

TEST_F(KZUserNotificationCenterTest, QuickFlickDismissesToTheScreenEdge)
{
    auto n = makeNotification("flick");
    auto controller = deliverAndWait(n);
    drag(*controller, 60, 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return center.windowControllers().empty(); }));
    EXPECT_EQ(controller->window()->x(), QGuiApplication::primaryScreen()->geometry().right() + 1);
    EXPECT_EQ(delegate.dismissed.size(), 1u);
}

TEST_F(KZUserNotificationCenterTest, ActionButtonActivates)
{
    auto n = makeNotification("act");
    auto controller = deliverAndWait(n);
    ASSERT_FALSE(controller->actionButton()->isHidden());
    QTest::mouseClick(controller->actionButton(), Qt::LeftButton);
    EXPECT_EQ(delegate.activated, std::vector<std::shared_ptr<KZUserNotification>>{n});
    EXPECT_TRUE(center.windowControllers().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->window()->isVisible(); }));
}

TEST_F(KZUserNotificationCenterTest, FutureDeliveryDateWaitsAndIndexRemovalIgnoresNotFound)
{
    auto n = makeNotification("later");
    n->setDeliveryDate(QDateTime::currentDateTimeUtc().addMSecs(300));
    center.deliverNotification(n);
    EXPECT_TRUE(center.windowControllers().empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return center.windowControllers().size() == 1; }));
    EXPECT_EQ(center.windowControllers().front()->notification(), n);

    center.removeNotificationWindowControllerWithIndex(KZUserNotificationCenter::kNotFound);
    center.removeNotificationWindowControllerWithIndex(1);
    EXPECT_EQ(center.windowControllers().size(), 1u);
    center.removeNotificationWindowControllerWithIndex(0);
    EXPECT_TRUE(center.windowControllers().empty());
}

TEST(KZUserNotificationCenterGeometry, SlotsStepDownByEachWindowsOwnHeight)
{
    KZUserNotificationCenter center(nullptr);
    const QRect a = available();
    EXPECT_EQ(center.screenFrameWithWindowFrame(QRect(5, 5, 300, 80), 0), QRect(a.right() + 1 - 314, a.top() + 10, 300, 80));
    EXPECT_EQ(center.screenFrameWithWindowFrame(QRect(0, 0, 300, 80), 2), QRect(a.right() + 1 - 314, a.top() + 190, 300, 80));
    EXPECT_EQ(center.screenFrameWithWindowFrame(QRect(0, 0, 200, 40), 2).topLeft(), QPoint(a.right() + 1 - 214, a.top() + 110));
}

TEST(KZUserNotificationWindowControllerTest, InformativeTextIsCutAfterSixtyCharacters)
{
    const QString sixty = QString(59, 'a') + 'b';
    const QString withSpace = QString(59, 'a') + ' ' + "tail";
    const QString surrogate = QString(59, 'a') + QString::fromUtf8("\xF0\x9F\x94\x8B") + "x";
    const std::vector<std::pair<QString, QString>> table{
        {sixty, sixty},
        {sixty + "c", sixty + "..."},
        {withSpace, QString(59, 'a') + "..."},
        {"  short  ", "  short  "},
        {surrogate, QString(59, 'a') + "..."},
    };
    for (const auto& [text, shown] : table) {
        EXPECT_EQ(KZUserNotificationWindowController::truncatedInformativeText(text), shown) << text.toStdString();
        auto controller = KZUserNotificationWindowController::controllerWithUserNotification(makeNotification("s", text));
        ASSERT_TRUE(controller->window());
        EXPECT_EQ(controller->informativeTextLabel()->text(), shown);
    }
}

TEST(KZUserNotificationWindowControllerTest, LayoutFollowsTheNotification)
{
    // Without a subtitle the text takes the subtitle's place; without an action button only the
    // other button shows.
    auto n = makeNotification(QString(), "Your Mac will sleep soon unless plugged into a power outlet.");
    n->setHasActionButton(false);
    auto controller = KZUserNotificationWindowController::controllerWithUserNotification(n);
    QWidget* window = controller->window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowOpacity(), 0.0);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(controller->subtitleLabel()->isHidden());
    EXPECT_FALSE(controller->informativeTextLabel()->isHidden());
    EXPECT_EQ(controller->informativeTextLabel()->pos(), controller->subtitleLabel()->pos());
    EXPECT_TRUE(controller->actionButton()->isHidden());
    EXPECT_FALSE(controller->otherButton()->isHidden());
    EXPECT_EQ(controller->titleLabel()->text(), "Voltara");

    // A subtitle and a text: both show, the text in its own place.
    auto both = KZUserNotificationWindowController::controllerWithUserNotification(makeNotification("Sub", "Text"));
    both->window();
    EXPECT_FALSE(both->subtitleLabel()->isHidden());
    EXPECT_EQ(both->subtitleLabel()->text(), "Sub");
    EXPECT_GT(both->informativeTextLabel()->y(), both->subtitleLabel()->y());
    EXPECT_FALSE(both->actionButton()->isHidden());

    // No text at all: the label hides and the window keeps its designed height.
    auto none = KZUserNotificationWindowController::controllerWithUserNotification(makeNotification("Only"));
    none->window();
    EXPECT_TRUE(none->informativeTextLabel()->isHidden());
    EXPECT_EQ(none->window()->height(), both->window()->height());
}

TEST(KZUserNotificationWindowControllerTest, LongTextGrowsTheLabelAndTheWindow)
{
    auto shortOne = KZUserNotificationWindowController::controllerWithUserNotification(makeNotification("s", "Short"));
    auto longOne = KZUserNotificationWindowController::controllerWithUserNotification(
        makeNotification("s", "Mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm mmmm"));
    const int designHeight = shortOne->window()->height();
    ASSERT_TRUE(longOne->window());
    QLabel* label = longOne->informativeTextLabel();
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text());
    ASSERT_GT(needed.height() + 4, shortOne->informativeTextLabel()->height()) << "the text must need more than one line";
    EXPECT_EQ(label->height(), needed.height() + 4);
    const int d = label->height() - shortOne->informativeTextLabel()->height();
    EXPECT_EQ(longOne->window()->height(), designHeight + d + 4);
    // The text stays inside its container.
    EXPECT_LE(label->geometry().bottom(), longOne->containerView()->height());
}

TEST(KZUserNotificationWindowControllerTest, ButtonsGrowLeftwardsUpTo104Points)
{
    auto plain = KZUserNotificationWindowController::controllerWithUserNotification(makeNotification("s", "t"));
    plain->window();
    const QRect designAction = plain->actionButton()->geometry();
    const QRect designOther = plain->otherButton()->geometry();
    const int designContainer = plain->containerView()->width();

    // What a title needs decides between the designed width and the cap; both buttons share it.
    enum class Width { Design, Between, Cap };
    const std::vector<std::tuple<QString, QString, Width>> cases{
        {"OK", "No", Width::Design},
        {"Remind later", "", Width::Between},
        {"", "Remind later", Width::Between},
        {"A very long action button title", "Dismiss", Width::Cap},
    };
    for (const auto& [action, other, expected] : cases) {
        auto n = makeNotification("s", "t");
        n->setActionButtonTitle(action);
        n->setOtherButtonTitle(other);
        auto controller = KZUserNotificationWindowController::controllerWithUserNotification(n);
        controller->window();
        const int w = controller->actionButton()->width();
        const std::string name = (action + "/" + other).toStdString();
        switch (expected) {
        case Width::Design: EXPECT_EQ(w, designAction.width()) << name; break;
        case Width::Between:
            EXPECT_GT(w, designAction.width()) << name;
            EXPECT_LT(w, 104) << name;
            break;
        case Width::Cap: EXPECT_EQ(w, 104) << name; break;
        }
        for (auto [button, design] : {std::pair{controller->actionButton(), designAction},
                                      std::pair{controller->otherButton(), designOther}}) {
            EXPECT_EQ(button->width(), w) << name;
            EXPECT_EQ(button->geometry().right(), design.right()) << name;
        }
        EXPECT_EQ(controller->containerView()->width(), designContainer - (w - designAction.width())) << name;
        EXPECT_EQ(controller->actionButton()->text(), action.isEmpty() ? QString("Show") : action);
        EXPECT_EQ(controller->otherButton()->text(), other.isEmpty() ? QString("Close") : other);
    }
}

} // namespace
