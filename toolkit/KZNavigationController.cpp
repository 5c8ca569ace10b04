#include "toolkit/KZNavigationController.h"

#include "platform/log/Log.h"
#include "toolkit/KZViewController.h"
#include "toolkit/KZWindowController.h"

#include <QEasingCurve>
#include <QEvent>
#include <QVariantAnimation>

KZNavigationController::KZNavigationController(QObject* parent)
    : QObject(parent)
{
}

KZNavigationController::~KZNavigationController()
{
    if (m_animation) {
        m_animation->disconnect(this);
        m_animation->stop();
        delete m_animation.data();
    }
    if (m_view)
        m_view->removeEventFilter(this);
}

void KZNavigationController::setView(QWidget* view)
{
    if (m_view == view)
        return;
    if (m_view)
        m_view->removeEventFilter(this);
    m_view = view;
    if (m_view)
        m_view->installEventFilter(this);
}

QWidget* KZNavigationController::window() const
{
    if (m_windowController)
        return m_windowController->window();
    return m_window;
}

void KZNavigationController::setIsVisible(bool visible)
{
    m_isVisible = visible;
    for (const Pane& pane : std::as_const(m_viewControllerStack))
        pane->setKz_isVisible(visible);
}

void KZNavigationController::setViewControllers(const QList<Pane>& viewControllers, bool animated)
{
    m_viewControllerStack = viewControllers;
    for (const Pane& pane : viewControllers)
        pane->setNavigationController(this);
    if (!viewControllers.isEmpty())
        setCurrentViewController(viewControllers.last(), animated, false);
}

void KZNavigationController::setViewControllers(const QList<Pane>& viewControllers)
{
    setViewControllers(viewControllers, true);
}

void KZNavigationController::setCurrentViewController(const Pane& viewController)
{
    setCurrentViewController(viewController, true, false);
}

void KZNavigationController::setCurrentViewController(const Pane& viewController, bool animated, bool isPop)
{
    const Pane newPane = viewController;
    const Pane oldPane = m_currentViewController;
    if (!newPane || newPane == oldPane)
        return;
    // A transition still sliding ends at once, hooks included, before the next one starts.
    if (isAnimating())
        m_animation->setCurrentTime(m_animation->duration());

    const bool animate = animated && oldPane;

    if (QWidget* window = this->window()) {
        if (m_originalMinSize.isNull())
            m_originalMinSize = window->minimumSize();
        window->setMinimumSize(m_originalMinSize.toSize());
    }

    configureViewController(newPane);

    if (oldPane)
        oldPane->kz_viewWillDisappear();
    newPane->kz_viewWillAppear();

    // The new pane is current right away, before the transition ends.
    m_currentViewController = newPane;

    QWidget* container = m_view;
    QWidget* newView = newPane->view();
    if (container) {
        newView->setParent(container);
        newView->show();
        newView->raise();
    }

    if (!oldPane) {
        newPane->kz_viewDidAppear();
        return;
    }

    m_leaving = oldPane;
    m_entering = newPane;
    m_completion = [this, oldPane, newPane] {
        newPane->setKz_isVisible(m_isVisible);
        oldPane->kz_viewDidDisappear();
        newPane->kz_viewDidAppear();
    };

    if (!animate || !container) {
        finishTransition();
        return;
    }

    // Push: the new view enters from the right; pop: from the left. The old one leaves the other way.
    const int direction = isPop ? -1 : 1;
    QWidget* oldView = oldPane->isViewLoaded() ? oldPane->view() : nullptr;
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(int(transitionDuration * 1000));
    animation->setEasingCurve(QEasingCurve::Linear);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    const QPointer<QWidget> entering = newView;
    const QPointer<QWidget> leaving = oldView;
    const QPointer<QWidget> box = container;
    connect(animation, &QVariantAnimation::valueChanged, this, [entering, leaving, box, direction](const QVariant& value) {
        if (!box)
            return;
        const double progress = value.toDouble();
        const int width = box->width();
        if (entering)
            entering->move(int(direction * width * (1.0 - progress)), 0);
        if (leaving && leaving->parentWidget() == box)
            leaving->move(int(-direction * width * progress), 0);
    });
    connect(animation, &QVariantAnimation::finished, this, &KZNavigationController::finishTransition);
    m_animation = animation;
    newView->move(direction * container->width(), 0);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void KZNavigationController::finishTransition()
{
    const Pane leaving = std::exchange(m_leaving, nullptr);
    const Pane entering = std::exchange(m_entering, nullptr);
    const std::function<void()> completion = std::exchange(m_completion, nullptr);
    m_animation = nullptr;

    // The old view leaves the container; the new one fills it.
    if (leaving && leaving->isViewLoaded() && leaving != m_currentViewController) {
        QWidget* oldView = leaving->view();
        if (oldView->parentWidget() == m_view) {
            oldView->hide();
            oldView->setParent(nullptr);
        }
    }
    if (entering && m_view && entering->isViewLoaded() && entering->view()->parentWidget() == m_view)
        entering->view()->setGeometry(QRect(QPoint(0, 0), m_view->size()));
    if (completion)
        completion();
}

void KZNavigationController::configureViewController(const Pane& viewController)
{
    if (m_windowController)
        viewController->setParentWindowController(m_windowController);
    if (QWidget* window = this->window())
        viewController->setParentWindow(window);
    // The view follows the container's size (see eventFilter) and starts at its full size.
    if (m_view)
        viewController->view()->setGeometry(QRect(QPoint(0, 0), m_view->size()));
}

void KZNavigationController::pushViewController(const Pane& viewController, bool animated)
{
    deferToNextTurn([this, viewController, animated] {
        viewController->setNavigationController(this);
        m_viewControllerStack.append(viewController);
        setCurrentViewController(viewController, animated, false);
    });
}

KZNavigationController::Pane KZNavigationController::popViewControllerAnimated(bool animated)
{
    if (m_viewControllerStack.size() <= 1)
        return m_viewControllerStack.isEmpty() ? nullptr : m_viewControllerStack.last();
    m_viewControllerStack.removeLast();
    const Pane top = m_viewControllerStack.last();
    deferToNextTurn([this, top, animated] { setCurrentViewController(top, animated, true); });
    return top;
}

KZNavigationController::Pane KZNavigationController::popToRootViewControllerAnimated(bool animated)
{
    if (m_viewControllerStack.isEmpty())
        return nullptr;
    deferToNextTurn([this, animated] {
        if (m_viewControllerStack.isEmpty())
            return;
        const Pane root = m_viewControllerStack.first();
        m_viewControllerStack = {root};
        setCurrentViewController(root, animated, true);
    });
    return m_viewControllerStack.first();
}

void KZNavigationController::popToController(const Pane& viewController, bool animated)
{
    if (!viewController)
        return;
    if (viewController == m_currentViewController) {
        QVLog(QStringLiteral("View controller is already the top item"));
        return;
    }
    qsizetype index = m_viewControllerStack.indexOf(viewController);
    if (index < 0) {
        viewController->setNavigationController(this);
        m_viewControllerStack.append(viewController);
        index = m_viewControllerStack.size() - 1;
    }
    m_viewControllerStack.resize(index + 1);
    deferToNextTurn([this, viewController, animated] { setCurrentViewController(viewController, animated, true); });
}

bool KZNavigationController::isAnimating() const
{
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

bool KZNavigationController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::Resize && !isAnimating() && m_currentViewController
        && m_currentViewController->isViewLoaded()) {
        QWidget* current = m_currentViewController->view();
        if (current->parentWidget() == m_view)
            current->setGeometry(QRect(QPoint(0, 0), m_view->size()));
    }
    return QObject::eventFilter(watched, event);
}

void KZNavigationController::deferToNextTurn(std::function<void()> step)
{
    QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}
