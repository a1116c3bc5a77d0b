#include "ui/qt_call_queue.h"

#include <chrono>

namespace kordel::ui {
namespace {

constexpr auto kSlice = std::chrono::milliseconds(20);

void Schedule(const std::shared_ptr<CallQueue>& calls, QObject* context) {
    QMetaObject::invokeMethod(
        context, [calls, context] { if (calls->Deliver(kSlice)) Schedule(calls, context); }, Qt::QueuedConnection);
}

}  // namespace

std::shared_ptr<CallQueue> MakeQtCallQueue(QObject* context) {
    // The wake-up holds the queue weakly, or the queue would own itself.
    auto self = std::make_shared<std::weak_ptr<CallQueue>>();
    auto calls = std::make_shared<CallQueue>([self, context] { Schedule(self->lock(), context); });
    *self = calls;
    return calls;
}

}  // namespace kordel::ui
