#include "toolkit/KZViewController.h"

#include "toolkit/KZNavigationController.h"
#include "toolkit/KZWindowController.h"

#include <QApplication>
#include <QMetaClassInfo>

namespace {

// The interface name a class declares itself (not one it inherits).
QString ownInterface(const QMetaObject* cls)
{
    if (!cls)
        return {};
    const int index = cls->indexOfClassInfo("KZInterface");
    if (index < cls->classInfoOffset())
        return {};
    return QString::fromUtf8(cls->classInfo(index).value());
}

} // namespace

KZViewController::KZViewController(QObject* parent)
    : QObject(parent)
{
}

KZViewController::~KZViewController()
{
    // A view still shown inside another widget belongs to that widget from now on.
    if (m_view && !m_view->parentWidget())
        delete m_view.data();
}

QString KZViewController::nibName(const QMetaObject* cls)
{
    QString name = ownInterface(cls);
    if (name.isEmpty() && cls)
        name = ownInterface(cls->superClass());
    return name;
}

QWidget* KZViewController::view()
{
    loadViewIfNeeded();
    return m_view;
}

void KZViewController::loadViewIfNeeded()
{
    if (m_view || m_loading)
        return;
    m_loading = true;
    loadView();
    m_loading = false;
    if (!m_view)
        m_view = new QWidget;
    awakeFromNib();
}

void KZViewController::loadView()
{
    auto* view = new QWidget;
    view->setObjectName(QString::fromUtf8(metaObject()->className()));
    m_view = view;
    setupUi(view);
}

void KZViewController::setView(QWidget* view)
{
    if (m_view == view)
        return;
    if (m_view && !m_view->parentWidget())
        delete m_view.data();
    m_view = view;
}

void KZViewController::awakeFromNib()
{
    if (m_viewHasLoaded || m_inViewDidLoad)
        return;
    m_inViewDidLoad = true;
    kz_viewDidLoad();
    m_inViewDidLoad = false;
    m_viewHasLoaded = true;
}

QWidget* KZViewController::parentWindow() const
{
    if (m_parentWindow)
        return m_parentWindow;
    if (m_view && m_view->parentWidget())
        return m_view->window();
    return QApplication::activeWindow();
}

KZNavigationController* KZViewController::navigationController() const
{
    return m_navigationController;
}

void KZViewController::setNavigationController(KZNavigationController* navigationController)
{
    m_navigationController = navigationController;
}
