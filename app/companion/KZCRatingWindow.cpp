#include "app/companion/KZCRatingWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

KZCRatingWindow::KZCRatingWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Rate Voltara"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto* text = new QLabel(tr("Enjoying Voltara? A short rating helps others find it."), this);
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_later = new QPushButton(tr("Not Now"), this);
    m_rate = new QPushButton(tr("Rate Voltara"), this);
    m_rate->setDefault(true);
    buttons->addWidget(m_later);
    buttons->addWidget(m_rate);
    layout->addLayout(buttons);

    connect(m_later, &QPushButton::clicked, this, &QWidget::close);
    connect(m_rate, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl(ratingAddress()));
        emit rated();
        close();
    });
    setFixedWidth(340);
}

QString KZCRatingWindow::ratingAddress()
{
    return QStringLiteral(VOLTARA_RATING_URL);
}
