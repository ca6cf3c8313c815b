#include "batch_decoder.h"

#include <json/json.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <memory>

namespace collector {
namespace {

constexpr size_t kMaxBatchText = 64u << 20;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsBase64Char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

std::string CompactJson(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] != '%') {
            out += text[i];
        } else {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
    for (size_t i = 0; i + padding < text.size(); ++i)
        if (!IsBase64Char(text[i])) return std::nullopt;
    std::string out(text.size() / 4 * 3 + 1, '\0');
    const int written = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(text.data()),
                                        static_cast<int>(text.size()));
    if (written < 0) return std::nullopt;
    // EVP_DecodeBlock counts the padding as zero bytes.
    out.resize(static_cast<size_t>(written) - padding);
    return out;
}

std::optional<std::string> Gunzip(std::string_view data, size_t limit) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 16) != Z_OK) return std::nullopt;
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, inflateEnd);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    std::string out;
    char chunk[32768];
    int code = Z_OK;
    while (code == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        code = inflate(&stream, Z_NO_FLUSH);
        if (code != Z_OK && code != Z_STREAM_END) return std::nullopt;
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (out.size() > limit) return std::nullopt;
        if (code == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) return std::nullopt;  // stream cut off
    }
    return out;
}

std::optional<std::string_view> FormField(std::string_view body, std::string_view name) {
    while (!body.empty()) {
        const size_t amp = body.find('&');
        const std::string_view field = body.substr(0, amp);
        if (field.size() > name.size() && field.substr(0, name.size()) == name && field[name.size()] == '=')
            return field.substr(name.size() + 1);
        if (amp == std::string_view::npos) break;
        body.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> DecodeBatch(std::string_view body) {
    const auto encoded = FormField(body, "data_list");
    const auto gzip = FormField(body, "gzip");
    if (!encoded || !gzip || *gzip != "1") return std::nullopt;
    const auto base64 = PercentDecode(*encoded);
    if (!base64) return std::nullopt;
    const auto compressed = Base64Decode(*base64);
    if (!compressed) return std::nullopt;
    const auto text = Gunzip(*compressed, kMaxBatchText);
    if (!text) return std::nullopt;

    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value batch;
    std::string errors;
    // Nesting beyond the reader's depth limit is reported by an exception, not a false.
    try {
        if (!reader->parse(text->data(), text->data() + text->size(), &batch, &errors) || !batch.isArray())
            return std::nullopt;
    } catch (const Json::Exception&) {
        return std::nullopt;
    }
    std::vector<std::string> records;
    for (const auto& record : batch) {
        if (!record.isObject()) return std::nullopt;
        records.push_back(CompactJson(record));
    }
    return records;
}

}  // namespace collector
