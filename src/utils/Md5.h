#pragma once
// An MD5 fed piece by piece, for data whose digest is wanted while it streams
// past (a download being written) instead of in a second pass over the file.
#include <cstddef>
#include <cstdint>
#include <string>

typedef struct evp_md_ctx_st EVP_MD_CTX;

namespace Utils {

class Md5Stream final {
public:
    Md5Stream();
    ~Md5Stream();
    Md5Stream(const Md5Stream&) = delete;
    Md5Stream& operator=(const Md5Stream&) = delete;

    void Update(const void* data, size_t size);
    // Feeds the first `size` bytes of the file; false (and the stream unusable)
    // when the file holds fewer or cannot be read.
    bool UpdateFromFile(const std::string& path, std::uint64_t size);
    // 32 lower-case hexadecimal digits, or empty after any failure. Ends the stream.
    std::string Finish();
    bool Usable() const { return m_usable; }

private:
    EVP_MD_CTX* m_ctx = nullptr;
    bool m_usable = false;
};

}  // namespace Utils
