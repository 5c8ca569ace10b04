#include "menubar/RWMenuItemController.h"

#include "ui_RWMenuItemController.h"

#include "toolkit/KZView.h"

RWMenuItemController::RWMenuItemController(const QString& title, const QString& value, const QColor& color,
                                           QObject* parent)
    : KZViewController(parent)
    , ui(std::make_unique<Ui::RWMenuItemController>())
    , m_title(title)
    , m_value(value)
    , m_color(color)
{
}

RWMenuItemController::~RWMenuItemController() = default;

void RWMenuItemController::setupUi(QWidget* view)
{
    ui->setupUi(view);
    m_uiReady = true;
}

KZView* RWMenuItemController::colorIndicator() const
{
    return m_uiReady ? ui->colorIndicator : nullptr;
}

QLabel* RWMenuItemController::titleLabel() const
{
    return m_uiReady ? ui->titleLabel : nullptr;
}

QLabel* RWMenuItemController::valueLabel() const
{
    return m_uiReady ? ui->valueLabel : nullptr;
}

void RWMenuItemController::setTitle(const QString& title)
{
    m_title = title;
    fillRow();
}

void RWMenuItemController::setValue(const QString& value)
{
    m_value = value;
    fillRow();
}

void RWMenuItemController::setColor(const QColor& color)
{
    m_color = color;
    fillRow();
}

void RWMenuItemController::awakeFromNib()
{
    KZViewController::awakeFromNib();
    fillRow();
}

void RWMenuItemController::fillRow()
{
    if (!isViewLoaded() || !m_uiReady)
        return;
    ui->titleLabel->setText(m_title);
    ui->valueLabel->setText(m_value);
    if (m_color.isValid()) {
        ui->colorIndicator->setBackgroundColor(m_color);
        ui->colorIndicator->setCornerRadius(2);
        ui->colorIndicator->setVisible(true);
    } else {
        ui->colorIndicator->setVisible(false);
    }
}
