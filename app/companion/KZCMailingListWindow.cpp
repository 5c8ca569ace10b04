#include "app/companion/KZCMailingListWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

KZCMailingListWindow::KZCMailingListWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Voltara News"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto* text = new QLabel(tr("Hear about new versions of Voltara. Enter your e-mail address:"), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_email = new QLineEdit(this);
    m_email->setPlaceholderText(QStringLiteral("name@example.org"));
    layout->addWidget(m_email);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_subscribe = new QPushButton(tr("Subscribe"), this);
    m_subscribe->setDefault(true);
    m_subscribe->setEnabled(false);
    buttons->addWidget(m_subscribe);
    layout->addLayout(buttons);

    static const QRegularExpression plausible(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    connect(m_email, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_subscribe->setEnabled(plausible.match(text.trimmed()).hasMatch()); });
    connect(m_subscribe, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(subscriptionUrl(m_email->text().trimmed()));
        close();
    });
    setFixedWidth(360);
}

QUrl KZCMailingListWindow::subscriptionUrl(const QString& email)
{
    QString to = QStringLiteral(VOLTARA_SUPPORT_URL);
    if (!to.startsWith(QLatin1String("mailto:")))
        return QUrl(to);   // a support page instead of an address: the page takes the sign-up
    to = to.mid(7);
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(to);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Subscribe to Voltara news"));
    query.addQueryItem(QStringLiteral("body"), QStringLiteral("Please add %1 to the Voltara news list.").arg(email));
    url.setQuery(query);
    return url;
}
