#include "platform/ThreadName.h"

#include <pthread.h>

namespace Platform {

void SetCurrentThreadName(const std::string& name)
{
    std::string cut = name;
    if (cut.size() > 15) {
        // Cut before the character that would be split at byte 15.
        size_t end = 15;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        cut = name.substr(0, end);
    }
    pthread_setname_np(pthread_self(), cut.c_str());
}

}  // namespace Platform
