// Fetches the version file into memory while a wait window with a moving bar is shown.
#pragma once

#include <chrono>
#include <optional>
#include <string>

class QWidget;

namespace kordel::ui {

/// The body of the reply, or nothing on a network error, an HTTP error status or a timeout.
/// Only the first 64 KiB are kept: the first line is all that is compared.
std::optional<std::string> FetchWithWaitWindow(const std::string& url, std::chrono::milliseconds timeout,
                                               QWidget* owner);

}  // namespace kordel::ui
