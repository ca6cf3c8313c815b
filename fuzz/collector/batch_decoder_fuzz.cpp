// The collector decodes whatever a client POSTs. Half the inputs go in as raw
// bodies; the other half are wrapped the way the event sender wraps a batch, so
// the fuzzer also reaches the gunzip and JSON stages, and the text encodings
// must give back exactly what went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch_decoder.h"
#include "event_sdk/batch_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0) {
        (void)collector::DecodeBatch(input);
        return 0;
    }
    const auto compressed = event_sdk::GzipCompress(input);
    if (!compressed) return 0;
    const std::string base64 = event_sdk::Base64Encode(*compressed);
    const std::string escaped = event_sdk::PercentEncode(base64);
    const auto unescaped = collector::PercentDecode(escaped);
    if (!unescaped || *unescaped != base64) std::abort();
    const auto unpacked = collector::Base64Decode(base64);
    if (!unpacked || *unpacked != *compressed) std::abort();
    (void)collector::DecodeBatch("data_list=" + escaped + "&gzip=1");
    return 0;
}
