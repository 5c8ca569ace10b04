#include "app/companion/KZCConfig.h"

KZCConfig::KZCConfig(QObject* parent)
    : QObject(parent)
{
}

void KZCConfig::setAppRunsAtLogin(bool runs)
{
    if (m_appRunsAtLogin == runs)
        return;
    m_appRunsAtLogin = runs;
    emit appRunsAtLoginChanged(runs);
}
