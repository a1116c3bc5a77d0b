// Kordel.exe's work run aside: the window's thread takes the calls the work hands back.
#include "ui/win32/win32_desktop.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(Win32Desktop, WorkAsideHandsItsCallsToTheWindowsThread) {
    kordel::win32::Win32Desktop desktop(GetModuleHandleW(nullptr));
    const DWORD windowThread = GetCurrentThreadId();
    DWORD workThread = 0;
    DWORD callThread = 0;
    bool failureReachedWork = false;
    desktop.RunAside([&] {
        workThread = GetCurrentThreadId();
        desktop.RunOnInterface([&] {
            callThread = GetCurrentThreadId();
        });
        try {
            desktop.RunOnInterface([] { throw std::runtime_error("no window"); });
        } catch (const std::runtime_error&) {
            failureReachedWork = true;
        }
    });
    EXPECT_NE(workThread, windowThread);
    EXPECT_EQ(callThread, windowThread);
    EXPECT_TRUE(failureReachedWork);
    // Running out of memory in the work reaches the caller, not std::terminate.
    EXPECT_THROW(desktop.RunAside([] { throw std::bad_alloc(); }), std::bad_alloc);
}

}  // namespace
