#include "battery/QVBatteryClock.h"

namespace {
std::function<QDateTime()>& provider()
{
    static std::function<QDateTime()> p;
    return p;
}
} // namespace

QDateTime QVBatteryClock::now()
{
    const auto& p = provider();
    return p ? p() : QDateTime::currentDateTimeUtc();
}

void QVBatteryClock::setNowProvider(std::function<QDateTime()> newProvider)
{
    provider() = std::move(newProvider);
}
