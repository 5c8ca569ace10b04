#include "battery/KZTimer.h"

#include <QTimer>

#include <cmath>

std::shared_ptr<KZTimer> KZTimer::timerWithInterval(double interval, bool repeats, const QVariant& userInfo,
                                                    Block didFinishBlock)
{
    std::shared_ptr<KZTimer> t(new KZTimer);
    t->setInterval(interval);
    t->setRepeats(repeats);
    t->setUserInfo(userInfo);
    t->setDidFinishBlock(std::move(didFinishBlock));
    t->run();
    return t;
}

std::shared_ptr<KZTimer> KZTimer::timerWithInterval(double interval, bool repeats, Block didFinishBlock)
{
    return timerWithInterval(interval, repeats, QVariant(), std::move(didFinishBlock));
}

KZTimer::~KZTimer()
{
    invalidate();
}

void KZTimer::run()
{
    invalidateTimerOnly();
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!m_repeats);
    timer->setInterval(static_cast<int>(std::llround(std::max(0.0, m_interval) * 1000.0)));
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer] { timerDidFinish(timer); });
    m_timer = timer;
    m_retainedWhileScheduled = shared_from_this();
    timer->start();
}

void KZTimer::timerDidFinish(QTimer* /*timer*/)
{
    // Hold ourselves for the duration of the call: the block may drop the last reference.
    auto self = shared_from_this();
    if (m_didFinishBlock)
        m_didFinishBlock(*this);
    if (!m_repeats && m_timer && !m_timer->isActive())
        m_retainedWhileScheduled.reset();   // a fired one-shot timer is idle; `timer` still refers to it
}

void KZTimer::invalidateTimerOnly()
{
    if (m_timer) {
        m_timer->stop();
        m_timer->disconnect();
        m_timer->deleteLater();
        m_timer = nullptr;
    }
    // Releasing the self reference may destroy this object; do it last and through a local.
    auto retained = std::move(m_retainedWhileScheduled);
    m_retainedWhileScheduled.reset();
}

void KZTimer::invalidate()
{
    auto self = weak_from_this().lock();   // null while being destroyed
    invalidateTimerOnly();
    m_didFinishBlock = nullptr;
}

bool KZTimer::isScheduled() const
{
    return m_timer && m_timer->isActive();
}

QString KZTimer::description() const
{
    const QString info = m_userInfo.isValid() ? m_userInfo.toString() : QStringLiteral("(null)");
    return QString::asprintf("<KZTimer %p, interval=%f, repeats=%s, userInfo=", static_cast<const void*>(this),
                             m_interval, m_repeats ? "YES" : "NO") + info + QStringLiteral(">");
}
