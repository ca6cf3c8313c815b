// The language file comes from the skin, which a modified executable could
// replace: any bytes must parse or be refused without harm, for every locale.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "utils/Language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const int index = static_cast<int8_t>(data[0]) % 4;  // the three locales and one outside the table
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    (void)Utils::ParseLanguageTexts(text, index);
    return 0;
}
