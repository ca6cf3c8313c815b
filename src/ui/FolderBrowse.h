#pragma once
// A folder dialog on a worker thread. The dialog may stay open for as long as
// the user likes (or forever, when the chooser hangs), so the window thread
// never waits for it: the worker tells the window when the answer is there.
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "utils/Thread.h"

class FolderBrowse final {
public:
    // Shows the dialog and blocks until the user answers or `stop` is requested.
    using Browser = std::function<std::optional<std::wstring>(const std::wstring& title, std::stop_token stop)>;

    // Starts the worker at once; `answered` runs on the worker after the
    // answer is stored (also after a stop), and must only hand over a signal.
    FolderBrowse(Browser browser, std::wstring title, std::function<void()> answered);
    // Closes a dialog still open and waits for the worker.
    ~FolderBrowse();
    FolderBrowse(const FolderBrowse&) = delete;
    FolderBrowse& operator=(const FolderBrowse&) = delete;

    // The chosen folder; nothing for a cancel, or while the dialog is still open.
    std::optional<std::wstring> TakeAnswer();

private:
    Browser m_browser;
    std::wstring m_title;
    std::function<void()> m_answered;
    std::stop_source m_stop;
    std::mutex m_mutex;
    std::optional<std::wstring> m_answer;
    Utils::Thread m_thread;
};
