#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <functional>
#include <memory>

class KZViewController;
class KZWindowController;
class QVariantAnimation;

// A stack of panes shown one at a time inside a container view, with a sliding transition
// between them (0.15 s, linear; the new pane enters from the right on a push and from the left on
// a pop). Main thread only. Push, pop to root and pop to a pane show their pane on the next turn
// of the event loop, so currentViewController() still answers the old pane right after the call.
class KZNavigationController : public QObject {
    Q_OBJECT
public:
    using Pane = std::shared_ptr<KZViewController>;

    // Duration of the sliding transition, in seconds.
    static constexpr double transitionDuration = 0.15;

    explicit KZNavigationController(QObject* parent = nullptr);
    ~KZNavigationController() override;

    // The panes, root first, top last.
    const QList<Pane>& viewControllerStack() const { return m_viewControllerStack; }
    QList<Pane> viewControllers() const { return m_viewControllerStack; }
    Pane currentViewController() const { return m_currentViewController; }

    // The container in which the current pane's view is shown.
    QWidget* view() const { return m_view; }
    void setView(QWidget* view);

    KZWindowController* windowController() const { return m_windowController; }
    void setWindowController(KZWindowController* windowController) { m_windowController = windowController; }
    // The window controller's window when there is a window controller, else the stored window.
    QWidget* window() const;
    void setWindow(QWidget* window) { m_window = window; }

    bool isVisible() const { return m_isVisible; }
    // Stores the flag and hands it to every pane of the stack.
    void setIsVisible(bool visible);

    QSizeF originalMinSize() const { return m_originalMinSize; }

    // At once: the stack becomes the list and its last pane becomes current, as a push.
    void setViewControllers(const QList<Pane>& viewControllers, bool animated);
    void setViewControllers(const QList<Pane>& viewControllers);

    void setCurrentViewController(const Pane& viewController);
    void setCurrentViewController(const Pane& viewController, bool animated, bool isPop);

    // On the next turn of the event loop: appends the pane and shows it, as a push.
    void pushViewController(const Pane& viewController, bool animated);
    // At once: removes the top; on the next turn shows the new top, as a pop. Returns the new top.
    // The root pane is never popped: with one pane left nothing changes and the root is returned.
    Pane popViewControllerAnimated(bool animated);
    // On the next turn: the stack becomes its root, shown as a pop. Returns the root.
    Pane popToRootViewControllerAnimated(bool animated);
    // At once: appends the pane when it is not in the stack and removes every pane above it; on the
    // next turn shows it, as a pop. With the current pane: only the log line.
    void popToController(const Pane& viewController, bool animated);

    // True while a sliding transition runs.
    bool isAnimating() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void configureViewController(const Pane& viewController);
    void finishTransition();
    // Runs `step` on the next turn of the event loop, unless this controller is gone by then.
    void deferToNextTurn(std::function<void()> step);

    QList<Pane> m_viewControllerStack;
    Pane m_currentViewController;
    QPointer<QWidget> m_view;
    QPointer<KZWindowController> m_windowController;
    QPointer<QWidget> m_window;
    bool m_isVisible = false;
    QSizeF m_originalMinSize {0, 0};

    // The transition in flight: the panes leaving and entering, and what to run when it ends.
    QPointer<QVariantAnimation> m_animation;
    Pane m_leaving;
    Pane m_entering;
    std::function<void()> m_completion;
};
