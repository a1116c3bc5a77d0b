// The desktop services (messages, file dialogs, opening files, the version check) with Windows.
#include "ui/win32/win32_desktop.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

#include "engine/path_split.h"
#include "kordel/version.h"
#include "projects/project_list.h"
#include "ui/core/main_logic.h"
#include "ui/core/messages.h"
#include "ui/core/open_rules.h"
#include "ui/core/options.h"
#include "ui/core/queued_observers.h"
#include "ui/win32/chosen_files.h"
#include "ui/win32/language_dialogs.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::CallQueue;
using ui::Icon;

// The message the progress window receives when a worker's calls wait for it.
constexpr UINT kDeliverCalls = WM_APP + 1;
// The timer that delivers the rest of the calls once keys, clicks and painting have had their turn.
constexpr UINT_PTR kDeliverTimer = 1;
// The thread message with which work run aside hands a call to the interface thread.
constexpr UINT kRunOnInterface = WM_APP + 3;
// A delivery of calls runs this long at most before the window's other messages get their turn.
constexpr auto kDeliverySlice = std::chrono::milliseconds(20);

template <typename T>
T* DialogState(HWND dialog) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

template <typename T>
T* KeepDialogState(HWND dialog, LPARAM state) {
    SetWindowLongPtrW(dialog, DWLP_USER, state);
    return reinterpret_cast<T*>(state);
}

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

// The modeless notices: the close box ends them.
INT_PTR CALLBACK BusyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

// "Would you like to specify a project name?": Yes and No end it; the close box does nothing.
INT_PTR CALLBACK NameQuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDC_NAME_YES) EndDialog(dialog, IDYES);
    if (LOWORD(wParam) == IDC_NAME_NO) EndDialog(dialog, IDNO);
    return TRUE;
}

// "Enter the project name...": OK keeps the typed text; Cancel keeps nothing; the close box does nothing.
INT_PTR CALLBACK NameEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            KeepDialogState<std::optional<std::string>>(dialog, lParam);
            SendDlgItemMessageW(dialog, IDC_NAME_EDIT, EM_LIMITTEXT, projects::kMaxProjectName, 0);
            SetFocus(GetDlgItem(dialog, IDC_NAME_EDIT));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_NAME_OK) {
                *DialogState<std::optional<std::string>>(dialog) = DlgText(dialog, IDC_NAME_EDIT);
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_NAME_CANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
    }
    return FALSE;
}

// About: its OK ends it; the close box does nothing.
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(dialog, IDOK);
    return message == WM_COMMAND;
}

struct FindState {
    Win32Desktop& desktop;
    std::optional<ui::FindRequest> request;
};

INT_PTR CALLBACK FindProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            KeepDialogState<FindState>(dialog, lParam);
            return TRUE;
        case WM_COMMAND: {
            auto* state = DialogState<FindState>(dialog);
            if (LOWORD(wParam) == IDC_FIND_OK) {
                const std::string text = DlgText(dialog, IDC_FIND_EDIT);
                if (text.empty()) {
                    state->desktop.Message(ui::msg::kEnterSearch, Icon::Stop);
                    return TRUE;
                }
                state->request = ui::FindRequest{text, IsDlgButtonChecked(dialog, IDC_FIND_CASE) == BST_CHECKED};
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_FIND_CANCEL || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
    }
    return FALSE;
}

// Options: every check box writes its setting when clicked; OK also stores the ".f" choice.
INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* logic = KeepDialogState<ui::MainWindowLogic>(dialog, lParam);
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Forth"));
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Fortran 77"));
            for (const ui::OptionBox& box : ui::OptionBoxes())
                CheckDlgButton(dialog, box.id, ui::IsChecked(logic->settings(), box) ? BST_CHECKED : BST_UNCHECKED);
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_SETCURSEL, logic->settings().dotf == 0 ? 0 : 1, 0);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* logic = DialogState<ui::MainWindowLogic>(dialog);
            const int id = LOWORD(wParam);
            if (id == IDC_OPT_OK) {
                const LRESULT index = SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_GETCURSEL, 0, 0);
                logic->ChooseDotF(index == 1 ? 1 : 0);
                EndDialog(dialog, IDOK);
            } else if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);  // the close box: the ".f" choice is not stored
            } else if (HIWORD(wParam) == BN_CLICKED) {
                for (const ui::OptionBox& box : ui::OptionBoxes())
                    if (box.id == id) logic->ClickOption(box, IsDlgButtonChecked(dialog, id) == BST_CHECKED);
            }
            return TRUE;
        }
    }
    return FALSE;
}

// The version check's download, on a worker thread: http and https only, at most kKeep bytes kept,
// every step bounded by the deadline; the wait window closes the request when the deadline passes.
constexpr std::size_t kKeep = 64 * 1024;

struct FetchState {
    ~FetchState() {
        if (session) WinHttpCloseHandle(session);
    }
    std::wstring url;
    std::chrono::milliseconds deadline{};
    HINTERNET session = nullptr;
    std::optional<std::string> body;  // written by the worker before it sets `finished`
    std::mutex mutex;                 // guards what follows
    HINTERNET request = nullptr;
    bool finished = false;
    bool expired = false;    // the deadline passed or the user cancelled: the answer is dropped
    bool cancelled = false;  // the user cancelled
    HWND wait = nullptr;
};

void Download(FetchState& state) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[256] = {};
    std::wstring path(state.url.size() + 1, L'\0');
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    if (!WinHttpCrackUrl(state.url.c_str(), 0, 0, &parts)) return;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return;
    const HINTERNET connection = WinHttpConnect(state.session, host, parts.nPort, 0);
    if (!connection) return;
    HINTERNET request = WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    {
        std::lock_guard lock(state.mutex);
        if (state.expired && request) {
            WinHttpCloseHandle(request);
            request = nullptr;
        }
        state.request = request;
    }
    std::string body;
    bool ok = request && WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
              WinHttpReceiveResponse(request, nullptr);
    if (ok) {
        DWORD status = 0;
        DWORD size = sizeof status;
        ok = WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                                 &status, &size, WINHTTP_NO_HEADER_INDEX) &&
             status < 400;
    }
    while (ok && body.size() < kKeep && body.find('\n') == std::string::npos) {
        char chunk[4096];
        DWORD read = 0;
        if (!WinHttpReadData(request, chunk, sizeof chunk, &read)) {
            ok = false;
            break;
        }
        if (read == 0) break;
        body.append(chunk, std::min<std::size_t>(read, kKeep - body.size()));
    }
    {
        std::lock_guard lock(state.mutex);
        if (state.request) WinHttpCloseHandle(state.request);
        state.request = nullptr;
        ok = ok && !state.expired;
    }
    WinHttpCloseHandle(connection);
    // A first line that does not end within what is kept is no version file.
    if (ok && body.size() >= kKeep && body.find('\n') == std::string::npos) ok = false;
    if (ok) state.body = std::move(body);
}

constexpr UINT_PTR kDeadlineTimer = 1;
constexpr UINT kFetchDone = WM_APP + 2;

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
            SetTimer(dialog, kDeadlineTimer, static_cast<UINT>(state->deadline.count()), nullptr);
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

// "desc\0pattern\0...\0\0" for the common file dialogs.
std::wstring FilterText(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::wstring text;
    for (const auto& [description, pattern] : pairs) {
        text += Wide(description);
        text.push_back(L'\0');
        text += Wide(pattern);
        text.push_back(L'\0');
    }
    text.push_back(L'\0');
    return text;
}

std::optional<std::string> AskPath(HWND owner, std::string_view title, const ui::FileType& type, bool save) {
    const std::wstring filter = FilterText({{type.description, type.pattern}});
    const std::wstring caption = Wide(title);
    const std::wstring extension = Wide(type.defaultExtension);
    std::wstring buffer(save ? 2048 : 100000, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return std::nullopt;
    return Utf8(buffer.c_str());
}

}  // namespace

HWND Win32Desktop::Owner() const {
    const HWND active = GetActiveWindow();
    return active ? active : m_main;
}

Answer Win32Desktop::Message(std::string_view text, Icon icon, Buttons buttons) {
    UINT flags = MB_TASKMODAL;
    switch (icon) {
        case Icon::Stop: flags |= MB_ICONSTOP; break;
        case Icon::Information: flags |= MB_ICONINFORMATION; break;
        case Icon::Warning: flags |= MB_ICONWARNING; break;
        case Icon::Question: flags |= MB_ICONQUESTION; break;
    }
    switch (buttons) {
        case Buttons::Ok: flags |= MB_OK; break;
        case Buttons::OkCancel: flags |= MB_OKCANCEL; break;
        case Buttons::YesNo: flags |= MB_YESNO; break;
        case Buttons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    switch (MessageBoxW(Owner(), Wide(text).c_str(), Wide(ui::kCaption).c_str(), flags)) {
        case IDOK: return Answer::Ok;
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return Answer::Cancel;
    }
}

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

ui::VersionReply Win32Desktop::FetchVersionFile(const std::string& url) {
    auto state = std::make_shared<FetchState>();
    state->url = Wide(url);
    state->deadline = m_versionDeadline;
    state->session = WinHttpOpen(Wide(std::string("Kordel/") + kShortVersion).c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0);
    if (!state->session) return {};
    const int ms = static_cast<int>(m_versionDeadline.count());
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

void Win32Desktop::OpenDocument(const std::string& path) {
    // Opening shows a file, never runs it: a folder is explored, a file that would run shows its folder.
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShellExecuteW(nullptr, L"explore", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    if (ui::IsRunnableExtension(engine::PathExtension(path), ui::Shell::Windows)) {
        const engine::PathParts parts = engine::SplitPath(path);
        ShellExecuteW(nullptr, L"explore", Wide(parts.drive + parts.folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    const engine::PathParts parts = engine::SplitPath(path);
    ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, Wide(parts.drive + parts.folder).c_str(), SW_SHOWNORMAL);
}

void Win32Desktop::OpenUrl(const std::string& url) {
    // Only web addresses reach the shell here.
    if (url.rfind("https://", 0) != 0 && url.rfind("http://", 0) != 0) return;
    ShellExecuteW(nullptr, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::optional<std::string> Win32Desktop::AskOpenPath(std::string_view title, const ui::FileType& type) {
    return AskPath(m_main, title, type, false);
}

std::optional<std::string> Win32Desktop::AskSavePath(std::string_view title, const ui::FileType& type) {
    return AskPath(m_main, title, type, true);
}

ui::AddChoice Win32Desktop::AskSourceFiles(std::string_view title, const std::vector<ui::FileFilter>& filters,
                                           int filter, const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const ui::FileFilter& f : filters) pairs.emplace_back(f.description, f.patterns);
    const std::wstring filterText = FilterText(pairs);
    const std::wstring caption = Wide(title);
    const std::wstring start = Wide(folder);
    std::wstring buffer(100000, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_main;
    ofn.lpstrFilter = filterText.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::clamp(filter, 1, static_cast<int>(filters.size())));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ui::AddChoice choice;
    const BOOL chosen = GetOpenFileNameW(&ofn);
    choice.filter = static_cast<int>(ofn.nFilterIndex);
    if (!chosen) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            Message("Too many files were chosen at once to add them.  Choose fewer files at a time.", Icon::Stop);
        return choice;
    }
    for (const std::wstring& path : ChosenFiles(buffer)) choice.paths.push_back(Utf8(path));
    return choice;
}

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
    m_aside = true;
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
    m_aside = false;
    CloseHandle(finished);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));  // for the main loop, which owns it
    if (failure) std::rethrow_exception(failure);
}

void Win32Desktop::ShowBusy(std::string_view text) {
    if (m_busy) DestroyWindow(m_busy);
    m_busy = nullptr;
    if (text.empty()) return;
    const int id = text == ui::kAddingBusyText ? IDD_BUSY_ADDING : IDD_BUSY_SAVING;
    m_busy = CreateDialogParamW(m_instance, MAKEINTRESOURCEW(id), m_main, BusyProc, 0);
    if (!m_busy) return;
    ShowWindow(m_busy, SW_SHOWNORMAL);
    UpdateWindow(m_busy);
}

std::optional<std::string> Win32Desktop::AskProjectName() {
    if (DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_NAME_QUESTION), m_main, NameQuestionProc, 0) != IDYES)
        return std::nullopt;
    std::optional<std::string> name;
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_NAME_ENTRY), m_main, NameEntryProc, reinterpret_cast<LPARAM>(&name));
    return name;
}

std::optional<ui::FindRequest> Win32Desktop::AskFind() {
    FindState state{*this, std::nullopt};
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_FIND), m_main, FindProc, reinterpret_cast<LPARAM>(&state));
    return state.request;
}

void Win32Desktop::ShowOptions() {
    if (!m_logic) return;
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_OPTIONS), m_main, OptionsProc, reinterpret_cast<LPARAM>(m_logic));
}

void Win32Desktop::ShowAbout() {
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_ABOUT), m_main, AboutProc, 0);
}

void Win32Desktop::ShowLanguages(userlang::LanguageListEditor& editor) {
    ShowLanguageDialog(m_instance, m_main, editor, *this);
}

std::filesystem::path Win32Desktop::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace kordel::win32
