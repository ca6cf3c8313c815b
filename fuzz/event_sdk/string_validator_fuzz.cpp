// Property strings, keys and names come from callers and, through them, from
// users: any bytes. The strict UTF-8 check is compared with a decoder written
// the other way round (decode first, then judge the code point).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "event_sdk/json_writer.h"
#include "event_sdk/output.h"
#include "event_sdk/properties.h"
#include "event_sdk/validation.h"

namespace {

bool ReferenceUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        uint32_t cp = 0;
        if (lead < 0x80) { length = 1; cp = lead; }
        else if ((lead & 0xE0) == 0xC0) { length = 2; cp = lead & 0x1F; }
        else if ((lead & 0xF0) == 0xE0) { length = 3; cp = lead & 0x0F; }
        else if ((lead & 0xF8) == 0xF0) { length = 4; cp = lead & 0x07; }
        else return false;
        if (i + static_cast<size_t>(length) > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') return false;
        if (cp == 0x7F) return false;
        i += static_cast<size_t>(length);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (event_sdk::SetErrorOutput([](std::string_view) {}), true);
    (void)quiet;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (event_sdk::IsValidUtf8(text) != ReferenceUtf8(text)) std::abort();

    // A name that passes has only name bytes; one that fails says why.
    const std::string nameMessage = event_sdk::CheckName(text, "Property Key");
    if (nameMessage.empty() && (text.empty() || text.size() > 100)) std::abort();

    // Whatever the key and text, the set stays writable as JSON without raw
    // control bytes.
    event_sdk::PropertiesNode node;
    const size_t half = size / 2;
    const bool stored = node.SetString(text.substr(0, half), text.substr(half));
    if (stored != event_sdk::CheckStringValue(text.substr(0, half), text.substr(half)).empty()) std::abort();
    node.SetList("list", {std::string(text)});
    const std::string json = node.ToJson();
    for (unsigned char c : json)
        if (c < 0x20) std::abort();
    return 0;
}
