// Image descriptions and integer patterns are free text from layouts.
#include <cstddef>
#include <cstdint>

#include "toolkit/image_desc.h"
#include "toolkit/int_format.h"
#include "toolkit/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text = toolkit::FromUtf8({reinterpret_cast<const char*>(data), size});
    if (auto desc = toolkit::ParseImageDesc(text)) (void)toolkit::ToUtf8(desc->file);
    (void)toolkit::FormatInteger(text, static_cast<long long>(size) - 100);
    (void)toolkit::ParseColour(text);
    (void)toolkit::ParseIntList(text, 4);
    return 0;
}
