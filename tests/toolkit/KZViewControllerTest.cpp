#include "toolkit/KZNavigationController.h"
#include "toolkit/KZViewController.h"
#include "toolkit/KZWindowController.h"

#include "ui_KZTestPaneViewController.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Every hook call of every pane, in order, as "<pane>.<hook>".
static std::vector<std::string> g_hooks;

class RecordingPane : public KZViewController {
    Q_OBJECT
public:
    explicit RecordingPane(std::string name = "pane")
        : m_name(std::move(name))
    {
    }
    void kz_viewDidLoad() override { g_hooks.push_back(m_name + ".didLoad"); }
    void kz_viewWillAppear() override { g_hooks.push_back(m_name + ".willAppear"); }
    void kz_viewDidAppear() override { g_hooks.push_back(m_name + ".didAppear"); }
    void kz_viewWillDisappear() override { g_hooks.push_back(m_name + ".willDisappear"); }
    void kz_viewDidDisappear() override { g_hooks.push_back(m_name + ".didDisappear"); }

private:
    std::string m_name;
};

// A pane whose interface comes from KZTestPaneViewController.ui, and a subclass that has none of
// its own and so uses its base class's.
class KZTestPaneViewController : public KZViewController {
    Q_OBJECT
    Q_CLASSINFO("KZInterface", "KZTestPaneViewController")
public:
    int loads = 0;
    Ui::KZTestPaneViewController ui;

protected:
    void setupUi(QWidget* view) override { ui.setupUi(view); }
    void kz_viewDidLoad() override { ++loads; }
};

class KZTestPaneSubclass : public KZTestPaneViewController {
    Q_OBJECT
};

class KZTestPaneGrandchild : public KZTestPaneSubclass {
    Q_OBJECT
};

class RecordingWindowController : public KZWindowController {
    Q_OBJECT
public:
    int loads = 0;
    QWidget* filled = nullptr;

protected:
    void setupUi(QWidget* window) override
    {
        filled = window;
        QPalette palette = window->palette();
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        window->setPalette(palette);
    }
    void kz_viewDidLoad() override { ++loads; }
};

TEST(KZViewController, ControllerLoadsItsInterfaceAndRunsTheLoadHookOnce)
{
    auto pane = KZViewController::controller<KZTestPaneViewController>();
    ASSERT_NE(pane->ui.titleLabel, nullptr);
    EXPECT_EQ(pane->ui.titleLabel->parentWidget(), pane->view());
    EXPECT_EQ(pane->ui.titleLabel->text(), "Loaded from its interface");
    EXPECT_TRUE(pane->kz_viewHasLoaded());
    pane->awakeFromNib();
    pane->view();
    EXPECT_EQ(pane->loads, 1);

    // The interface name: the class's own, else its direct base class's, else none.
    EXPECT_EQ(pane->nibName(), "KZTestPaneViewController");
    EXPECT_EQ(KZViewController::nibName(&KZTestPaneSubclass::staticMetaObject), "KZTestPaneViewController");
    EXPECT_EQ(KZViewController::nibName(&KZTestPaneGrandchild::staticMetaObject), "");
    EXPECT_EQ(KZViewController::nibName(&KZViewController::staticMetaObject), "");
}

TEST(KZViewController, ParentWindowIsStoredElseTheWindowShowingTheView)
{
    auto pane = KZViewController::controller<RecordingPane>();
    QWidget window;
    pane->view()->setParent(&window);
    EXPECT_EQ(pane->parentWindow(), &window);
    QWidget other;
    pane->setParentWindow(&other);
    EXPECT_EQ(pane->parentWindow(), &other);
    // A view inside another widget outlives its controller.
    QPointer<QWidget> view = pane->view();
    pane.reset();
    EXPECT_FALSE(view.isNull());
}

TEST(KZWindowController, ControllerMakesTheLightWindowAndRunsTheLoadHookOnce)
{
    auto controller = KZWindowController::controller<RecordingWindowController>();
    ASSERT_NE(controller->window(), nullptr);
    EXPECT_EQ(controller->filled, controller->window());
    EXPECT_TRUE(controller->kzViewIsLoaded());
    controller->awakeFromNib();
    EXPECT_EQ(controller->loads, 1);
    const QPalette palette = controller->window()->palette();
    EXPECT_GT(palette.color(QPalette::Window).lightness(), palette.color(QPalette::WindowText).lightness());
    EXPECT_EQ(palette.color(QPalette::Base), QColor(1, 2, 3)) << "the designed colours stay";

    QPointer<QWidget> window = controller->window();
    controller.reset();
    EXPECT_TRUE(window.isNull());
}

// A stack in a 300 x 200 container, with three recorded panes.
class KZNavigationControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hooks.clear();
        container.resize(300, 200);
        container.show();
        navigation.setView(&container);
        navigation.setWindow(&container);
        a = KZViewController::controller<RecordingPane>("A");
        b = KZViewController::controller<RecordingPane>("B");
        c = KZViewController::controller<RecordingPane>("C");
        g_hooks.clear();
    }

    void settle()
    {
        QCoreApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !navigation.isAnimating(); }, 5000));
    }

    QList<KZNavigationController::Pane> stack() const { return navigation.viewControllers(); }

    QWidget container;
    KZNavigationController navigation;
    std::shared_ptr<RecordingPane> a, b, c;
};

TEST_F(KZNavigationControllerTest, SetViewControllersShowsTheLastAtOnceAndKeepsTheOthers)
{
    c->setKz_isVisible(true);
    navigation.setViewControllers({a, b, c}, true);

    EXPECT_EQ(navigation.currentViewController(), c);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a, b, c}));
    EXPECT_EQ(g_hooks, (std::vector<std::string> {"C.willAppear", "C.didAppear"}));
    // The first pane of an empty stack keeps its own visibility flag.
    EXPECT_TRUE(c->kz_isVisible());
    for (const auto& pane : {a, b, c})
        EXPECT_EQ(pane->navigationController(), &navigation);
    EXPECT_EQ(c->view()->parentWidget(), &container);
    EXPECT_EQ(c->view()->geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(c->parentWindow(), &container);

    // The view follows the container's size.
    container.resize(320, 180);
    EXPECT_EQ(c->view()->geometry(), QRect(0, 0, 320, 180));

    g_hooks.clear();
    navigation.setCurrentViewController(c);
    EXPECT_TRUE(g_hooks.empty());
}

TEST_F(KZNavigationControllerTest, PushShowsThePaneOnTheNextTurnWithTheHooksInOrder)
{
    navigation.setViewControllers({a}, false);
    navigation.setIsVisible(true);
    g_hooks.clear();

    navigation.pushViewController(b, true);
    EXPECT_EQ(navigation.currentViewController(), a);
    EXPECT_EQ(stack().size(), 1);

    QCoreApplication::processEvents();
    EXPECT_EQ(navigation.currentViewController(), b);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a, b}));
    EXPECT_EQ(g_hooks, (std::vector<std::string> {"A.willDisappear", "B.willAppear"}));
    ASSERT_TRUE(navigation.isAnimating());
    EXPECT_GT(b->view()->x(), 0) << "a pushed pane enters from the right";

    settle();
    EXPECT_EQ(g_hooks, (std::vector<std::string> {"A.willDisappear", "B.willAppear", "A.didDisappear", "B.didAppear"}));
    EXPECT_TRUE(b->kz_isVisible());
    EXPECT_EQ(b->view()->geometry(), QRect(0, 0, 300, 200));
    EXPECT_NE(a->view()->parentWidget(), &container);
}

TEST_F(KZNavigationControllerTest, PopChangesTheStackAtOnceAndShowsTheNewTopFromTheLeft)
{
    navigation.setViewControllers({a, b, c}, false);
    g_hooks.clear();

    EXPECT_EQ(navigation.popViewControllerAnimated(true), b);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a, b}));
    EXPECT_EQ(navigation.currentViewController(), c);

    QCoreApplication::processEvents();
    EXPECT_EQ(navigation.currentViewController(), b);
    ASSERT_TRUE(navigation.isAnimating());
    EXPECT_LT(b->view()->x(), 0) << "a popped-to pane enters from the left";
    settle();
    EXPECT_EQ(g_hooks, (std::vector<std::string> {"C.willDisappear", "B.willAppear", "C.didDisappear", "B.didAppear"}));

    // The root is never popped.
    navigation.setViewControllers({a}, false);
    EXPECT_EQ(navigation.popViewControllerAnimated(false), a);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a}));
}

TEST_F(KZNavigationControllerTest, PopToRootChangesTheStackOnlyOnTheNextTurn)
{
    navigation.setViewControllers({a, b, c}, false);
    EXPECT_EQ(navigation.popToRootViewControllerAnimated(false), a);
    EXPECT_EQ(stack().size(), 3);
    EXPECT_EQ(navigation.currentViewController(), c);
    QCoreApplication::processEvents();
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a}));
    EXPECT_EQ(navigation.currentViewController(), a);
    EXPECT_EQ(a->view()->parentWidget(), &container);
    EXPECT_TRUE(a->view()->isVisibleTo(&container));
}

TEST_F(KZNavigationControllerTest, PopToTheCurrentPaneOnlyLogs)
{
    navigation.setViewControllers({a, b}, false);
    g_hooks.clear();
    testing::internal::CaptureStderr();
    navigation.popToController(b, true);
    QCoreApplication::processEvents();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "View controller is already the top item\n");
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a, b}));
    EXPECT_EQ(navigation.currentViewController(), b);
    EXPECT_TRUE(g_hooks.empty());
}

TEST_F(KZNavigationControllerTest, PopToAPaneTrimsTheStackAtOnceOrAppendsAStranger)
{
    navigation.setViewControllers({a, b, c}, false);
    navigation.popToController(a, false);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a}));
    EXPECT_EQ(navigation.currentViewController(), c);
    QCoreApplication::processEvents();
    EXPECT_EQ(navigation.currentViewController(), a);

    // A pane not on the stack is appended and enters from the left.
    auto stranger = KZViewController::controller<RecordingPane>("S");
    g_hooks.clear();
    navigation.popToController(stranger, true);
    EXPECT_EQ(stack(), (QList<KZNavigationController::Pane> {a, stranger}));
    QCoreApplication::processEvents();
    EXPECT_EQ(navigation.currentViewController(), stranger);
    ASSERT_TRUE(navigation.isAnimating());
    EXPECT_LT(stranger->view()->x(), 0);
    settle();
    EXPECT_EQ(g_hooks, (std::vector<std::string> {"A.willDisappear", "S.willAppear", "A.didDisappear", "S.didAppear"}));
    EXPECT_EQ(stranger->navigationController(), &navigation);
}

TEST_F(KZNavigationControllerTest, TheTransitionTakesAboutAFifteenthOfASecondAndItsMinSizeIsRestored)
{
    container.setMinimumSize(120, 80);
    navigation.setViewControllers({a}, false);
    container.setMinimumSize(10, 10);
    QElapsedTimer clock;
    clock.start();
    navigation.setCurrentViewController(b, true, false);
    EXPECT_EQ(container.minimumSize(), QSize(120, 80)) << "the first minimum size seen is restored";
    ASSERT_TRUE(navigation.isAnimating());
    settle();
    EXPECT_GE(clock.elapsed(), 140);
    EXPECT_LT(clock.elapsed(), 2500);

    // Without animation the transition ends before the call returns.
    g_hooks.clear();
    navigation.setCurrentViewController(c, false, false);
    EXPECT_FALSE(navigation.isAnimating());
    EXPECT_EQ(g_hooks.back(), "C.didAppear");
}

#include "KZViewControllerTest.moc"
