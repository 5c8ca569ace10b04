#include "app/companion/KZCConfig.h"

KZCConfig::KZCConfig(QObject* parent)
    : QObject(parent)
{
}

void KZCConfig::setAppRunsAtLogin(bool runs)
{
    // Announced even when unchanged: a switch the user flipped shows the value again.
    m_appRunsAtLogin = runs;
    emit appRunsAtLoginChanged(runs);
}
