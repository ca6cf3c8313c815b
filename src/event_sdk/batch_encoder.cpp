#include "event_sdk/batch_encoder.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <array>
#include <string>

#include "event_sdk/output.h"

namespace event_sdk {
namespace {

constexpr size_t kChunkSize = 32768;
constexpr int kGzipWindowBits = 15 + 16;

// One table lookup per byte: the byte itself when it stays, zero when it
// has to be written as %XX.
constexpr std::array<char, 256> MakeUnreservedTable() {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '.' || c == '_' || c == '~';
        table[c] = keep ? static_cast<char>(c) : 0;
    }
    return table;
}
constexpr auto kUnreserved = MakeUnreservedTable();

std::string ZlibFailure(int code, const z_stream& stream) {
    return "Exception during zlib compression: (" + std::to_string(code) + ") " + (stream.msg ? stream.msg : "");
}

// zlib's state for level 9 is a few hundred kilobytes; setting it up anew for
// every batch of a few kilobytes costs more than compressing the batch. Each
// thread keeps one and resets it, which gives the same stream as a fresh one.
class Deflater final {
public:
    ~Deflater() { Discard(); }

    z_stream* Acquire() {
        if (m_ready) {
            if (deflateReset(&m_stream) == Z_OK) return &m_stream;
            Discard();
        }
        m_stream = z_stream{};
        m_ready = deflateInit2(&m_stream, 9, Z_DEFLATED, kGzipWindowBits, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        return m_ready ? &m_stream : nullptr;
    }

    void Discard() {
        if (m_ready) deflateEnd(&m_stream);
        m_ready = false;
    }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

Deflater& ThreadDeflater() {
    thread_local Deflater deflater;
    return deflater;
}

}  // namespace

std::string JoinBatch(const std::vector<std::string>& records) {
    size_t size = 2 + records.size();
    for (const auto& r : records) size += r.size();
    std::string batch;
    batch.reserve(size);
    batch += '[';
    for (size_t i = 0; i < records.size(); ++i) {
        if (i) batch += ',';
        batch += records[i];
    }
    batch += ']';
    return batch;
}

std::optional<std::string> GzipCompress(std::string_view data) {
    z_stream* stream = ThreadDeflater().Acquire();
    if (!stream) {
        WriteError("deflateInit2 failed while compressing.");
        return std::nullopt;
    }
    stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream->avail_in = static_cast<uInt>(data.size());
    std::string out;
    int code = Z_OK;
    while (code == Z_OK || code == Z_BUF_ERROR) {
        const size_t used = out.size();
        out.resize(used + kChunkSize);
        stream->next_out = reinterpret_cast<Bytef*>(out.data() + used);
        stream->avail_out = static_cast<uInt>(kChunkSize);
        code = deflate(stream, Z_FINISH);
        out.resize(used + kChunkSize - stream->avail_out);
        // Z_BUF_ERROR with room left means zlib cannot make progress at all.
        if (code == Z_BUF_ERROR && stream->avail_out != 0) break;
    }
    if (code != Z_STREAM_END) {
        WriteError(ZlibFailure(code, *stream));
        ThreadDeflater().Discard();
        return std::nullopt;
    }
    return out;
}

std::string Base64Encode(std::string_view data) {
    std::string out(4 * ((data.size() + 2) / 3) + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(data.data()),
                                        static_cast<int>(data.size()));
    out.resize(static_cast<size_t>(written));
    return out;
}

std::string PercentEncode(std::string_view data) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(data.size() + data.size() / 8);
    for (unsigned char c : data) {
        if (char keep = kUnreserved[c]) {
            out += keep;
            continue;
        }
        const char escaped[] = {'%', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escaped, sizeof escaped);
    }
    return out;
}

std::optional<std::string> BuildRequestBody(const std::vector<std::string>& records) {
    auto compressed = GzipCompress(JoinBatch(records));
    if (!compressed) return std::nullopt;
    return "data_list=" + PercentEncode(Base64Encode(*compressed)) + "&gzip=1";
}

}  // namespace event_sdk
