#pragma once

#include <fstream>
#include <mutex>
#include <string>

#include "analytics/TrackLogger.h"

namespace zerin::analytics {

// The track log file. Every operation only tries the lock: a call that meets a
// busy logger is skipped rather than made to wait, because the log must never
// hold up the caller's thread.
class NativeTrackLogger final : public TrackLogger {
public:
    NativeTrackLogger() = default;
    ~NativeTrackLogger() override;

    void open(const std::string& path);
    void read(std::vector<Line>& out, int64_t first, int64_t count) override;
    void clear() override;
    void close();

    const std::string& path() const { return m_path; }
    bool isOpen() const { return m_stream.is_open(); }

private:
    std::string m_path;
    std::fstream m_stream;
    std::mutex m_mutex;
    int64_t m_readPos = -1;
};

}  // namespace zerin::analytics
