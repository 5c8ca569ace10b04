#include "battery/QVBatteryManager.h"

QVBatteryManager& QVBatteryManager::sharedManager()
{
    static QVBatteryManager* manager = new QVBatteryManager;
    return *manager;
}
QVBatteryManager::QVBatteryManager() { update(); }
QVBatteryManager::~QVBatteryManager() = default;
void QVBatteryManager::update() {}
void QVBatteryManager::powerSourceDidChange() { update(); }
bool QVBatteryManager::hasBatteryInstalled() const { return false; }
double QVBatteryManager::timeSinceLastCharge() const { return -1; }
