#include "ui/FolderBrowse.h"

#include <utility>

FolderBrowse::FolderBrowse(Browser browser, std::wstring title, std::function<void()> answered)
    : m_browser(std::move(browser)),
      m_title(std::move(title)),
      m_answered(std::move(answered)),
      m_thread(nullptr, L"FolderBrowse", [this](void*) {
          std::optional<std::wstring> answer = m_browser ? m_browser(m_title, m_stop.get_token()) : std::nullopt;
          {
              std::lock_guard lock(m_mutex);
              m_answer = std::move(answer);
          }
          if (m_answered) m_answered();
      })
{
    if (m_thread.IsValid())
        m_thread.Resume();
    else if (m_answered)
        m_answered();  // no dialog can be shown: answer "nothing" at once
}

FolderBrowse::~FolderBrowse()
{
    m_stop.request_stop();
    m_thread.Join();
}

std::optional<std::wstring> FolderBrowse::TakeAnswer()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_answer, std::nullopt);
}
