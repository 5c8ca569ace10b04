#pragma once

#include <QWidget>

class KZCConfig;
class QCheckBox;
class QPushButton;

// The window shown on the first launch: a few words about Voltara, the run-at-login switch (when
// the configuration asks for it) and a button that closes it. It posts the welcome notifications.
class KZCWelcomeWindow : public QWidget {
    Q_OBJECT
public:
    explicit KZCWelcomeWindow(KZCConfig* config, QWidget* parent = nullptr);

    QCheckBox* runAtLoginSwitch() const { return m_runAtLogin; }
    QPushButton* doneButton() const { return m_done; }

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QCheckBox* m_runAtLogin = nullptr;
    QPushButton* m_done = nullptr;
    bool m_announcedOpen = false;
};
