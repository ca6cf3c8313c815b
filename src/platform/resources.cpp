#include "platform/resources.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace Platform {
namespace {

struct Entry {
    std::string type;
    int id = 0;
    ResourceBytes bytes;
};

struct Registry {
    std::mutex lock;
    std::vector<Entry> entries;
};

// Function-local so that registrations from other objects' static initialisers
// always find a constructed registry, whatever the link order.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool SameType(std::string_view a, std::string_view b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

const Entry* Find(const Registry& registry, std::string_view type, int id) {
    for (const Entry& entry : registry.entries) {
        if (entry.id == id && SameType(entry.type, type)) return &entry;
    }
    return nullptr;
}

}  // namespace

bool RegisterResource(std::string_view type, int id, ResourceBytes bytes) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    if (Find(registry, type, id) != nullptr) return false;
    registry.entries.push_back(Entry{std::string(type), id, bytes});
    return true;
}

ResourceBytes FindResourceBytes(std::string_view type, int id) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const Entry* entry = Find(registry, type, id);
    return entry != nullptr ? entry->bytes : ResourceBytes{};
}

}  // namespace Platform
