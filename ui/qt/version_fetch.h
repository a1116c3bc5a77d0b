// Fetches the version file into memory while a wait window with a moving bar is shown.
#pragma once

#include <chrono>
#include <string>

#include "ui/core/version_check.h"

class QWidget;

namespace kordel::qt {

/// Fetches an http or https `url` while the wait window is shown. Received once the body's first
/// line has ended, the cap is reached or the reply is complete; Failed on a network error, an HTTP
/// error status, a URL of another kind, or when `deadline` has passed since the start, however the
/// bytes come; Cancelled by the window's Cancel button, its close box or Escape.
ui::VersionReply FetchWithWaitWindow(const std::string& url, std::chrono::milliseconds deadline, QWidget* owner);

}  // namespace kordel::qt
