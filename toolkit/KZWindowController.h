#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <type_traits>
#include <utility>

class KZNavigationController;

// The base of the application's window controllers: owns one top-level window, made from the
// Qt Designer interface named after the class, always in the light appearance, and runs the load
// hook once when the window has been loaded.
//
// A subclass with resources/ui/FooWindowController.ui:
//
//     #include "ui_FooWindowController.h"
//     class FooWindowController : public KZWindowController {
//         Q_OBJECT
//     protected:
//         QWidget* makeWindow() override { return new KZYosemiteWindow; }   // optional
//         void setupUi(QWidget* window) override { ui.setupUi(window); }
//         void kz_viewDidLoad() override { ... }
//     private:
//         Ui::FooWindowController ui;
//     };
//
//     auto controller = KZWindowController::controller<FooWindowController>();
//     controller->showWindow();
class KZWindowController : public QObject {
    Q_OBJECT
public:
    explicit KZWindowController(QObject* parent = nullptr);
    ~KZWindowController() override;

    // A new window controller of class T with its window loaded (and kz_viewDidLoad run).
    template <class T, class... Args>
    static std::shared_ptr<T> controller(Args&&... args)
    {
        static_assert(std::is_base_of_v<KZWindowController, T>, "controller<T>() makes window controllers");
        auto windowController = std::make_shared<T>(std::forward<Args>(args)...);
        windowController->loadWindowIfNeeded();
        return windowController;
    }

    // The window, loaded on first use. The controller deletes it when it goes.
    QWidget* window();
    bool isWindowLoaded() const { return !m_window.isNull(); }
    void loadWindowIfNeeded();
    void setWindow(QWidget* window);

    // Shows the window and brings it to the front; closes it.
    virtual void showWindow();
    virtual void close();

    // Called once the window exists (already in the light appearance): kz_viewDidLoad, the first
    // time only.
    virtual void awakeFromNib();
    // Hook for subclasses; empty here.
    virtual void kz_viewDidLoad() {}

    QWidget* parentWindow() const { return m_parentWindow; }
    void setParentWindow(QWidget* window) { m_parentWindow = window; }
    KZNavigationController* navigationController() const { return m_navigationController.get(); }
    void setNavigationController(std::unique_ptr<KZNavigationController> navigationController);

    bool kzViewIsLoaded() const { return m_viewIsLoaded; }

protected:
    // The window object to fill; a plain top-level widget here.
    virtual QWidget* makeWindow();
    // Fills the window from the class's interface; empty here.
    virtual void setupUi(QWidget* window) { Q_UNUSED(window); }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_parentWindow;
    std::unique_ptr<KZNavigationController> m_navigationController;
    bool m_viewIsLoaded = false;
    bool m_loading = false;
};
