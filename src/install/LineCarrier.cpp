#include "install/LineCarrier.h"

namespace Install {

std::string_view LineCarrier::Feed(std::string_view bytes) {
    m_pending.append(bytes);
    const size_t lastEnd = m_pending.rfind('\n');
    if (lastEnd == std::string::npos) {
        if (m_pending.size() <= kMaxCarry) return {};
        m_ready = TakeRest();
        return m_ready;
    }
    m_ready.assign(m_pending, 0, lastEnd + 1);
    m_pending.erase(0, lastEnd + 1);
    return m_ready;
}

std::string LineCarrier::TakeRest() {
    std::string rest;
    rest.swap(m_pending);
    return rest;
}

}  // namespace Install
