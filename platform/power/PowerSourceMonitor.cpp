#include "platform/power/PowerSourceMonitor.h"

#include <QSocketNotifier>

#include <libudev.h>

PowerSourceMonitor::PowerSourceMonitor(QObject* parent) : QObject(parent)
{
    m_udev = udev_new();
    if (!m_udev)
        return;
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "power_supply", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    const int fd = udev_monitor_get_fd(m_monitor);
    if (fd < 0)
        return;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PowerSourceMonitor::readEvents);
}

PowerSourceMonitor::~PowerSourceMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void PowerSourceMonitor::readEvents()
{
    // Drain every queued event; a burst of them is one change.
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        changed = true;
        udev_device_unref(device);
    }
    if (changed)
        emit powerSourcesChanged();
}
