#pragma once

#include <QObject>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Power-source change events: a udev netlink monitor on the "power_supply" subsystem, watched on
// the event loop of the thread that creates it. Where udev is not available there are no events.
class PowerSourceMonitor : public QObject {
    Q_OBJECT
public:
    explicit PowerSourceMonitor(QObject* parent = nullptr);
    ~PowerSourceMonitor() override;

    // True when the monitor is listening.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void powerSourcesChanged();

private:
    void readEvents();

    struct udev* m_udev = nullptr;
    struct udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};
