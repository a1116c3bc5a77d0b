// Work run aside from the interface thread while that thread keeps painting, and the calls the
// work hands back to it.
#include "ui/win32/win32_desktop.h"

#include <exception>
#include <functional>
#include <system_error>
#include <thread>

#include "ui/win32/message_ids.h"

namespace kordel::win32 {
namespace {

// A call handed to the interface thread; `done` is set once it has run.
struct InterfaceCall {
    const std::function<void()>& call;
    HANDLE done;
    std::exception_ptr failure;
};

void RunInterfaceCall(LPARAM request) {
    auto* handed = reinterpret_cast<InterfaceCall*>(request);
    try {
        handed->call();
    } catch (...) {
        handed->failure = std::current_exception();
    }
    SetEvent(handed->done);
}

}  // namespace

void Win32Desktop::RunOnInterface(const std::function<void()>& call) {
    if (GetCurrentThreadId() == m_interfaceThread) return call();
    InterfaceCall request{call, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    if (!request.done) throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
    if (!PostThreadMessageW(m_interfaceThread, kRunOnInterface, 0, reinterpret_cast<LPARAM>(&request))) {
        CloseHandle(request.done);
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
    }
    WaitForSingleObject(request.done, INFINITE);
    CloseHandle(request.done);
    if (request.failure) std::rethrow_exception(request.failure);
}

void Win32Desktop::RunAside(const std::function<void()>& work) {
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!finished) return work();
    std::exception_ptr failure;  // out of memory reaches this thread's handlers
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(finished);
    });
    // Painting, timers and sent messages go on; keys and clicks stay queued, so no command starts
    // meanwhile.
    constexpr UINT kNoInput = QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER;
    bool quit = false;
    WPARAM quitCode = 0;
    while (MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, kNoInput, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            if (msg.hwnd == nullptr && msg.message == kRunOnInterface) {
                RunInterfaceCall(msg.lParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    worker.join();
    CloseHandle(finished);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));  // for the main loop, which owns it
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kordel::win32
