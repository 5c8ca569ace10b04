#include "history/QVCalculationQueue.h"

#include "platform/dispatch/MainThread.h"

#include <QThread>

void runCalculationOnQueue(const QString& queueName, std::atomic<int>& inFlight, std::shared_ptr<bool> alive,
                           std::function<QList<QVChartItem>()> work,
                           std::function<void(const QList<QVChartItem>&)> completion)
{
    ++inFlight;
    QThread* queue = QThread::create([&inFlight, alive = std::move(alive), work = std::move(work),
                                      completion = std::move(completion)] {
        QList<QVChartItem> items = work();
        dispatchToMainThread([alive, completion, items = std::move(items)] {
            if (*alive && completion)
                completion(items);
        });
        --inFlight;
    });
    queue->setObjectName(queueName);
    QObject::connect(queue, &QThread::finished, queue, &QObject::deleteLater);
    queue->start();
}
