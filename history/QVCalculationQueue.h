#pragma once

#include "charts/QVChartItem.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// The serial queue of one calculation request: runs `work` on a new thread named `queueName` and
// hands its items to `completion` on the main thread, unless the requester is gone by then (its
// `alive` flag, set and read on the main thread, is false). `inFlight` counts the requests whose
// work has not finished yet.
void runCalculationOnQueue(const QString& queueName, std::atomic<int>& inFlight, std::shared_ptr<bool> alive,
                           std::function<QList<QVChartItem>()> work,
                           std::function<void(const QList<QVChartItem>&)> completion);
