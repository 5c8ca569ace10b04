#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include "toolkit/KZWindowController.h"

#include <memory>
#include <type_traits>
#include <utility>

class KZNavigationController;

// The base of every pane: a controller that owns one view, loads it once (from the Qt Designer
// interface named after the class, when there is one), and gets a load hook that runs once plus
// appear and disappear hooks from the navigation stack that shows it.
//
// A subclass with an interface file resources/ui/FooViewController.ui:
//
//     #include "ui_FooViewController.h"
//     class FooViewController : public KZViewController {
//         Q_OBJECT
//         Q_CLASSINFO("KZInterface", "FooViewController")
//     protected:
//         void setupUi(QWidget* view) override { ui.setupUi(view); }
//         void kz_viewDidLoad() override { ... }
//     private:
//         Ui::FooViewController ui;
//     };
//
//     std::shared_ptr<FooViewController> pane = KZViewController::controller<FooViewController>();
class KZViewController : public QObject {
    Q_OBJECT
public:
    explicit KZViewController(QObject* parent = nullptr);
    ~KZViewController() override;

    // A new pane of class T with its view loaded (and kz_viewDidLoad run).
    template <class T, class... Args>
    static std::shared_ptr<T> controller(Args&&... args)
    {
        static_assert(std::is_base_of_v<KZViewController, T>, "controller<T>() makes panes");
        auto pane = std::make_shared<T>(std::forward<Args>(args)...);
        pane->loadViewIfNeeded();
        return pane;
    }

    // The interface that class `cls` loads: its own name when it declares Q_CLASSINFO("KZInterface",
    // ...), else its direct base class's when that one declares it, else empty.
    static QString nibName(const QMetaObject* cls);
    QString nibName() const { return nibName(metaObject()); }

    // The pane's view, loaded on first use.
    QWidget* view();
    bool isViewLoaded() const { return !m_view.isNull(); }
    void loadViewIfNeeded();
    // Replaces the view (the previous one is deleted when nothing else holds it).
    void setView(QWidget* view);

    // Called once the view exists: runs kz_viewDidLoad the first time only.
    virtual void awakeFromNib();

    // Hooks for subclasses; empty here.
    virtual void kz_viewDidLoad() {}
    virtual void kz_viewWillAppear() {}
    virtual void kz_viewDidAppear() {}
    virtual void kz_viewWillDisappear() {}
    virtual void kz_viewDidDisappear() {}

    // The stored window if set; else the window that shows the view; else the active window.
    QWidget* parentWindow() const;
    void setParentWindow(QWidget* window) { m_parentWindow = window; }
    KZWindowController* parentWindowController() const { return m_parentWindowController; }
    void setParentWindowController(KZWindowController* controller) { m_parentWindowController = controller; }
    KZNavigationController* navigationController() const;
    void setNavigationController(KZNavigationController* navigationController);

    QSizeF viewMinSize() const { return m_viewMinSize; }
    void setViewMinSize(const QSizeF& size) { m_viewMinSize = size; }
    bool forceResize() const { return m_forceResize; }
    void setForceResize(bool forceResize) { m_forceResize = forceResize; }

    bool kz_viewHasLoaded() const { return m_viewHasLoaded; }
    bool kz_isVisible() const { return m_isVisible; }
    void setKz_isVisible(bool visible) { m_isVisible = visible; }

protected:
    // Creates the view: a plain widget filled by setupUi. Override to build another kind of view.
    virtual void loadView();
    // Fills the view from the class's interface; empty here.
    virtual void setupUi(QWidget* view) { Q_UNUSED(view); }

private:
    QPointer<QWidget> m_view;
    QPointer<QWidget> m_parentWindow;
    QPointer<KZWindowController> m_parentWindowController;
    QPointer<KZNavigationController> m_navigationController;
    QSizeF m_viewMinSize {0, 0};
    bool m_forceResize = false;
    bool m_viewHasLoaded = false;
    bool m_isVisible = false;
    bool m_loading = false;
    bool m_inViewDidLoad = false;
};
