#pragma once

#include <QObject>
#include <QString>

// What the application tells the companion layer at launch.
class KZCConfig : public QObject {
    Q_OBJECT
public:
    explicit KZCConfig(QObject* parent = nullptr);

    // The application's store identifier, as decimal text.
    const QString& appStoreID() const { return m_appStoreID; }
    void setAppStoreID(const QString& appStoreID) { m_appStoreID = appStoreID; }
    // Whether the welcome window offers the run-at-login switch.
    bool showsRunAtLoginButton() const { return m_showsRunAtLoginButton; }
    void setShowsRunAtLoginButton(bool shows) { m_showsRunAtLoginButton = shows; }
    // The value the run-at-login switch shows (announced on every set).
    bool appRunsAtLogin() const { return m_appRunsAtLogin; }
    void setAppRunsAtLogin(bool runs);

signals:
    void appRunsAtLoginChanged(bool runs);

private:
    QString m_appStoreID;
    bool m_showsRunAtLoginButton = false;
    bool m_appRunsAtLogin = false;
};
