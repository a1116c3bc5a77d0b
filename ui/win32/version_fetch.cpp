// The version check's transfer: the version file fetched with WinHTTP on a worker thread behind the
// wait window. The rules (which URLs, the deadline, how much of the reply is kept) are the core's.
#include "ui/win32/win32_desktop.h"

#include <commctrl.h>
#include <winhttp.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "kordel/version.h"
#include "ui/core/version_check.h"
#include "ui/win32/dialog_state.h"
#include "ui/win32/message_ids.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

// Shared by the wait window and the download, which may outlive it.
struct FetchState {
    ~FetchState() {
        if (session) WinHttpCloseHandle(session);
    }
    std::wstring url;
    HINTERNET session = nullptr;
    std::optional<std::string> body;  // written by the worker before it sets `finished`
    std::mutex mutex;                 // guards what follows
    HINTERNET request = nullptr;
    bool finished = false;
    bool expired = false;    // the deadline passed or the user cancelled: the answer is dropped
    bool cancelled = false;  // the user cancelled
    HWND wait = nullptr;
};

// A GET request for an http or https URL; nothing for any other.
HINTERNET OpenRequest(HINTERNET session, const std::wstring& url, HINTERNET& connection) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[256] = {};
    std::wstring path(url.size() + 1, L'\0');
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return nullptr;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return nullptr;
    connection = WinHttpConnect(session, host, parts.nPort, 0);
    if (!connection) return nullptr;
    return WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                              WINHTTP_DEFAULT_ACCEPT_TYPES,
                              parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
}

// Sends the request and reads the body until the core's reader has what decides the check;
// nothing when the transfer fails or the server answers with an error status.
std::optional<std::string> ReceiveBody(HINTERNET request) {
    if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request, nullptr))
        return std::nullopt;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status >= 400)
        return std::nullopt;
    ui::VersionReplyBody body;
    for (;;) {
        char chunk[4096];
        DWORD read = 0;
        if (!WinHttpReadData(request, chunk, sizeof chunk, &read)) return std::nullopt;
        if (read == 0 || body.Add(std::string_view(chunk, read))) break;
    }
    return body.text();
}

// On the worker: every step is bounded by the session's timeouts, and the wait window closes the
// request when it stops waiting.
void Download(FetchState& state) {
    HINTERNET connection = nullptr;
    HINTERNET request = OpenRequest(state.session, state.url, connection);
    {
        std::lock_guard lock(state.mutex);
        if (state.expired && request) {
            WinHttpCloseHandle(request);
            request = nullptr;
        }
        state.request = request;
    }
    std::optional<std::string> body = request ? ReceiveBody(request) : std::nullopt;
    {
        std::lock_guard lock(state.mutex);
        if (state.request) WinHttpCloseHandle(state.request);
        state.request = nullptr;
        if (state.expired) body.reset();
    }
    if (connection) WinHttpCloseHandle(connection);
    state.body = std::move(body);
}

// Ends the wait window before the download: its answer, should one still come, is dropped.
void StopWaiting(HWND dialog, FetchState& state, bool cancelled) {
    KillTimer(dialog, kDeadlineTimer);
    {
        std::lock_guard lock(state.mutex);
        if (!state.finished) {
            state.expired = true;
            state.cancelled = cancelled;
            // Closing the request ends a waiting call where the system allows it.
            if (state.request) WinHttpCloseHandle(state.request);
            state.request = nullptr;
        }
    }
    EndDialog(dialog, 0);
}

// The wait window ends when the download does, when the deadline passes, or when the user cancels
// (Cancel, Escape or the close box), whichever comes first; a download still waiting then goes on
// alone with its own share of the state and its answer is dropped.
INT_PTR CALLBACK VersionWaitProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto& state = *KeepDialogState<std::shared_ptr<FetchState>>(dialog, lParam);
            state->wait = dialog;
            SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETMARQUEE, TRUE, 50);
            SetTimer(dialog, kDeadlineTimer, static_cast<UINT>(ui::kVersionDeadline.count()), nullptr);
            std::thread([state] {
                Download(*state);
                std::lock_guard lock(state->mutex);
                if (state->expired) return;
                state->finished = true;
                PostMessageW(state->wait, kFetchDone, 0, 0);
            }).detach();
            return TRUE;
        }
        case WM_TIMER:
            if (wParam != kDeadlineTimer) return FALSE;
            StopWaiting(dialog, **DialogState<std::shared_ptr<FetchState>>(dialog), false);
            return TRUE;
        case kFetchDone:
            KillTimer(dialog, kDeadlineTimer);
            EndDialog(dialog, 0);
            return TRUE;
        case WM_COMMAND:
            // The Cancel button, Escape and the close box all arrive as IDCANCEL.
            if (LOWORD(wParam) == IDCANCEL)
                StopWaiting(dialog, **DialogState<std::shared_ptr<FetchState>>(dialog), true);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

ui::VersionReply Win32Desktop::FetchVersionFile(const std::string& url) {
    auto state = std::make_shared<FetchState>();
    state->url = Wide(url);
    state->session = WinHttpOpen(Wide(std::string("Kordel/") + kShortVersion).c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!state->session) return {};
    const int ms = static_cast<int>(ui::kVersionDeadline.count());
    WinHttpSetTimeouts(state->session, ms, ms, ms, ms);
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_VERSION_WAIT), m_main, VersionWaitProc,
                    reinterpret_cast<LPARAM>(&state));
    std::lock_guard lock(state->mutex);
    ui::VersionReply reply;
    if (state->cancelled) reply.status = ui::VersionReply::Status::Cancelled;
    if (state->finished && state->body) {
        reply.status = ui::VersionReply::Status::Received;
        reply.body = *state->body;
    }
    return reply;
}

}  // namespace kordel::win32
