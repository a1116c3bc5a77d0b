// The progress window a count or a sort runs under, and the hand-over of the worker's calls to it.
#include "ui/win32/win32_desktop.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "ui/core/queued_observers.h"
#include "ui/win32/dialog_state.h"
#include "ui/win32/message_ids.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

using ui::CallQueue;

// A delivery of calls runs this long at most before the window's other messages get their turn.
constexpr auto kDeliverySlice = std::chrono::milliseconds(20);

// The progress window: Cancel and the close box ask the worker to stop; only the worker ends it.
struct ProgressState {
    bool sorting;
    std::atomic<int>& canc;
    CallQueue& queue;
    std::function<void()> start;  // starts the worker once the window exists
    HWND* handle;
    std::atomic<HWND>& target;  // where the worker's wake-ups go; set before the worker starts
};

INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = KeepDialogState<ProgressState>(dialog, lParam);
            *state->handle = dialog;
            if (state->sorting) SetDlgItemTextW(dialog, IDC_LABEL, L"Sorting...");
            SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
            state->target = dialog;
            state->start();
            return TRUE;
        }
        case WM_TIMER:
            if (wParam != kDeliverTimer) return FALSE;
            KillTimer(dialog, kDeliverTimer);
            [[fallthrough]];
        case kDeliverCalls:
            // The rest after the messages that came meanwhile; the queue keeps its order. Posted
            // messages come before keys, clicks and painting, so while any of those wait the rest
            // follows on a timer, which comes after them: a worker that posts faster than its calls
            // are made must not keep Cancel from being clicked.
            if (DialogState<ProgressState>(dialog)->queue.Deliver(kDeliverySlice)) {
                if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) != 0)
                    SetTimer(dialog, kDeliverTimer, USER_TIMER_MINIMUM, nullptr);
                else
                    PostMessageW(dialog, kDeliverCalls, 0, 0);
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROGRESS_CANCEL || LOWORD(wParam) == IDCANCEL)
                DialogState<ProgressState>(dialog)->canc = 1;
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void Win32Desktop::RunUnderProgress(bool sorting, std::atomic<int>& canc,
                                   const std::function<void(CallQueue&)>& body) {
    std::atomic<HWND> target = nullptr;
    CallQueue queue([&target] { PostMessageW(target, kDeliverCalls, 0, 0); });
    std::thread worker;
    ProgressState state{sorting, canc, queue,
                        [&] {
                            worker = std::thread([&] {
                                body(queue);
                                // The last call: everything posted before it has been delivered.
                                queue.Post(CallQueue::Kind::Other, [this] { EndDialog(m_progress, 0); });
                            });
                        },
                        &m_progress, target};
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_PROGRESS), m_main, ProgressProc, reinterpret_cast<LPARAM>(&state));
    m_progress = nullptr;
    if (worker.joinable()) worker.join();
}

void Win32Desktop::RunWithProgress(bool sorting, std::atomic<int>& canc,
                                   const std::function<void(engine::RunObserver&)>& work,
                                   engine::RunObserver& uiObserver) {
    RunUnderProgress(sorting, canc, [&](CallQueue& queue) {
        ui::QueuedRunObserver queued(queue, uiObserver);
        work(queued);
    });
}

void Win32Desktop::RunSortWithProgress(std::atomic<int>& canc, const std::function<void(engine::SortObserver&)>& work,
                                       engine::SortObserver& uiObserver) {
    RunUnderProgress(true, canc, [&](CallQueue& queue) {
        ui::QueuedSortObserver queued(queue, uiObserver);
        work(queued);
    });
}

void Win32Desktop::SetProgressDetail(const std::string& text) {
    if (m_progress) SetDlgText(m_progress, IDC_PROGRESS_DETAIL, text);
}

void Win32Desktop::SetProgressPercent(int percent) {
    if (m_progress) SendDlgItemMessageW(m_progress, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

}  // namespace kordel::win32
