#include "utils/Md5.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace Utils {

Md5Stream::Md5Stream() : m_ctx(EVP_MD_CTX_new()) {
    m_usable = m_ctx && EVP_DigestInit_ex(m_ctx, EVP_md5(), nullptr) == 1;
}

Md5Stream::~Md5Stream() { EVP_MD_CTX_free(m_ctx); }

void Md5Stream::Update(const void* data, size_t size) {
    if (m_usable && size > 0) m_usable = EVP_DigestUpdate(m_ctx, data, size) == 1;
}

bool Md5Stream::UpdateFromFile(const std::string& path, std::uint64_t size) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rbe"), &std::fclose);
    if (!file) m_usable = false;
    std::vector<unsigned char> block(1u << 20);
    while (m_usable && size > 0) {
        const size_t want = static_cast<size_t>(std::min<std::uint64_t>(block.size(), size));
        const size_t got = std::fread(block.data(), 1, want, file.get());
        Update(block.data(), got);
        if (got != want) m_usable = false;
        size -= got;
    }
    return m_usable;
}

std::string Md5Stream::Finish() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!m_usable || EVP_DigestFinal_ex(m_ctx, digest, &length) != 1) return {};
    m_usable = false;
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 0x0F];
    }
    return out;
}

}  // namespace Utils
