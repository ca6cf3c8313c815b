#include "analytics/NativeTrackLogger.h"

#include <filesystem>
#include <sstream>

namespace zerin::analytics {
namespace {

TrackLogger::Line splitTabs(const std::string& text) {
    TrackLogger::Line fields;
    std::string field;
    std::istringstream in(text);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

}  // namespace

NativeTrackLogger::~NativeTrackLogger() { close(); }

void NativeTrackLogger::open(const std::string& path) {
    if (path == m_path) return;
    std::unique_lock lock(m_mutex, std::try_to_lock);
    if (!lock.owns_lock()) return;
    if (m_stream.is_open()) m_stream.close();
    m_readPos = 0;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) std::ofstream(path, std::ios::binary).close();
    m_stream.clear();
    m_stream.open(path, std::ios::in | std::ios::out | std::ios::app | std::ios::binary);
    m_path = path;
}

void NativeTrackLogger::read(std::vector<Line>& out, int64_t first, int64_t count) {
    std::lock_guard lock(m_mutex);
    if (!m_stream.is_open()) return;
    const int64_t start = first >= 0 ? first : (m_readPos > 0 ? m_readPos : 0);
    m_stream.clear();
    m_stream.seekg(0);
    std::string text;
    int64_t index = 0;
    int64_t added = 0;
    while (std::getline(m_stream, text)) {
        if (index++ < start) continue;
        if (count >= 0 && added >= count) break;
        out.push_back(splitTabs(text));
        ++added;
    }
    m_readPos = index;
    m_stream.clear();
}

void NativeTrackLogger::clear() {
    std::unique_lock lock(m_mutex, std::try_to_lock);
    if (!lock.owns_lock()) return;
    if (m_stream.is_open()) {
        m_stream.clear();
        m_stream.seekg(0);
    }
    m_readPos = -1;
    if (m_path.empty()) return;
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << '\n';
}

void NativeTrackLogger::close() {
    std::lock_guard lock(m_mutex);
    if (m_stream.is_open()) m_stream.close();
}

}  // namespace zerin::analytics
