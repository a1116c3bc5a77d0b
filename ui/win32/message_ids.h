// Every private message and timer number of the Windows program, in one place so that none is
// used twice by mistake.
#pragma once

#include <windows.h>

namespace kordel::win32 {

// Messages posted to the program's own windows and thread.
/// To the progress window: a worker's calls wait to be delivered.
inline constexpr UINT kDeliverCalls = WM_APP + 1;
/// To the version check's wait window: the download has ended.
inline constexpr UINT kFetchDone = WM_APP + 2;
/// To the interface thread (no window): work run aside hands it a call.
inline constexpr UINT kRunOnInterface = WM_APP + 3;
/// To the main window from itself once it is shown: open the list named at start, or re-open the last.
inline constexpr UINT kStartUp = WM_APP + 10;

// Timers; each belongs to one window.
/// The progress window's: delivers the rest of the calls once input and painting have had their turn.
inline constexpr UINT_PTR kDeliverTimer = 1;
/// The wait window's: the version check's deadline.
inline constexpr UINT_PTR kDeadlineTimer = 2;

}  // namespace kordel::win32
