// A call queue whose deliveries run on the thread of a Qt object, a slice per turn of its event loop.
#pragma once

#include <QObject>

#include <memory>

#include "ui/core/call_queue.h"

namespace kordel::qt {

/// The queue is shared with the deliveries still waiting in the event loop, so it may be dropped
/// by the worker as soon as its last call is made.
std::shared_ptr<ui::CallQueue> MakeQtCallQueue(QObject* context);

}  // namespace kordel::qt
