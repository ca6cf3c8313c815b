#include "utils/InstanceMutex.h"

#include "utils/Text.h"

namespace Utils {

void InstanceMutex::Acquire()
{
    if (IsHeld()) return;
    m_lock.Acquire(ToNarrow(FullName(), CP_UTF8));
}

}  // namespace Utils
