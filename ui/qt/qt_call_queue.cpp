// A call queue delivered on a Qt object's thread, one slice per turn of its event loop.
#include "ui/qt/qt_call_queue.h"

#include <chrono>

namespace kordel::qt {
namespace {

constexpr auto kSlice = std::chrono::milliseconds(20);

void Schedule(const std::shared_ptr<ui::CallQueue>& calls, QObject* context) {
    QMetaObject::invokeMethod(
        context, [calls, context] { if (calls->Deliver(kSlice)) Schedule(calls, context); }, Qt::QueuedConnection);
}

}  // namespace

std::shared_ptr<ui::CallQueue> MakeQtCallQueue(QObject* context) {
    // The wake-up holds the queue weakly, or the queue would own itself.
    auto self = std::make_shared<std::weak_ptr<ui::CallQueue>>();
    auto calls = std::make_shared<ui::CallQueue>([self, context] { Schedule(self->lock(), context); });
    *self = calls;
    return calls;
}

}  // namespace kordel::qt
