#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// The companion layer's own window: sign up for news about Voltara. Subscribing writes a message to
// the support address in the user's mail program, with the address the user entered.
class KZCMailingListWindow : public QWidget {
    Q_OBJECT
public:
    explicit KZCMailingListWindow(QWidget* parent = nullptr);

    QLineEdit* emailField() const { return m_email; }
    QPushButton* subscribeButton() const { return m_subscribe; }
    // A message to the support address (VOLTARA_SUPPORT_URL) asking to subscribe `email`; when the
    // support address is a web page, that page.
    static QUrl subscriptionUrl(const QString& email);

private:
    QLineEdit* m_email = nullptr;
    QPushButton* m_subscribe = nullptr;
};
