#include "common/test_files.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace lexivar::test {
namespace fs = std::filesystem;

namespace {

using MdCtx = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

MdCtx NewMd5() {
    MdCtx ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1) throw std::runtime_error("md5 init");
    return ctx;
}

std::string FinishHex(EVP_MD_CTX* ctx) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_DigestFinal_ex(ctx, digest, &len);
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < len; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 15];
    }
    return out;
}

// xorshift keeps the pattern cheap to make and free of short periods.
void FillBytes(char* out, std::uint64_t size, std::uint64_t start, std::uint32_t seed) {
    for (std::uint64_t i = 0; i < size; ++i) {
        std::uint64_t x = (start + i) / 8 * 0x9E3779B97F4A7C15ull + seed;
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 29;
        out[i] = static_cast<char>(x >> (((start + i) % 8) * 8));
    }
}

}  // namespace

fs::path ScratchDir(const std::string& name) {
    fs::path dir = fs::path(LEXIVAR_BUILD_DIR) / "test-scratch" / (name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string MakeTestBytes(std::uint64_t size, std::uint32_t seed) {
    std::string out(size, '\0');
    FillBytes(out.data(), size, 0, seed);
    return out;
}

std::string WriteTestFile(const fs::path& path, std::uint64_t size, std::uint32_t seed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    MdCtx ctx = NewMd5();
    std::vector<char> block(1 << 20);
    for (std::uint64_t done = 0; done < size;) {
        std::uint64_t n = std::min<std::uint64_t>(block.size(), size - done);
        FillBytes(block.data(), n, done, seed);
        out.write(block.data(), static_cast<std::streamsize>(n));
        EVP_DigestUpdate(ctx.get(), block.data(), n);
        done += n;
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return FinishHex(ctx.get());
}

std::string Md5Hex(const std::string& bytes) {
    MdCtx ctx = NewMd5();
    EVP_DigestUpdate(ctx.get(), bytes.data(), bytes.size());
    return FinishHex(ctx.get());
}

std::string Md5OfFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    MdCtx ctx = NewMd5();
    std::vector<char> block(1 << 20);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
        EVP_DigestUpdate(ctx.get(), block.data(), static_cast<size_t>(in.gcount()));
    return FinishHex(ctx.get());
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteScript(const fs::path& path, const std::string& body) {
    WriteFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

}  // namespace lexivar::test
