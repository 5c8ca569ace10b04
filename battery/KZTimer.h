#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class QTimer;

// The timer of every periodic or delayed task. It runs on the event loop of the thread that
// called run() and calls its block with itself. While scheduled it keeps itself alive, so a
// repeating timer goes on after its owner lets go, until someone calls invalidate().
class KZTimer : public std::enable_shared_from_this<KZTimer> {
public:
    using Block = std::function<void(KZTimer&)>;

    static std::shared_ptr<KZTimer> timerWithInterval(double interval, bool repeats, const QVariant& userInfo,
                                                      Block didFinishBlock);
    static std::shared_ptr<KZTimer> timerWithInterval(double interval, bool repeats, Block didFinishBlock);

    ~KZTimer();
    KZTimer(const KZTimer&) = delete;
    KZTimer& operator=(const KZTimer&) = delete;

    void run();
    void timerDidFinish(QTimer* timer);
    void invalidateTimerOnly();
    void invalidate();
    QString description() const;

    QTimer* timer() const { return m_timer; }
    double interval() const { return m_interval; }
    void setInterval(double interval) { m_interval = interval; }
    bool repeats() const { return m_repeats; }
    void setRepeats(bool repeats) { m_repeats = repeats; }
    const QVariant& userInfo() const { return m_userInfo; }
    void setUserInfo(const QVariant& userInfo) { m_userInfo = userInfo; }
    const Block& didFinishBlock() const { return m_didFinishBlock; }
    void setDidFinishBlock(Block block) { m_didFinishBlock = std::move(block); }
    // True while a platform timer is scheduled and will still fire.
    bool isScheduled() const;

private:
    KZTimer() = default;

    QTimer* m_timer = nullptr;
    double m_interval = 0;
    bool m_repeats = false;
    QVariant m_userInfo;
    Block m_didFinishBlock;
    std::shared_ptr<KZTimer> m_retainedWhileScheduled;
};
