#include "toolkit/image.h"

#include <cstring>

#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

namespace toolkit {
namespace {

constexpr uint32_t kMaxSide = 8192;

struct ByteReader {
    std::span<const uint8_t> bytes;
    size_t offset = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length)
{
    auto* r = static_cast<ByteReader*>(closure);
    if (r->bytes.size() - r->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes.data() + r->offset, length);
    r->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

uint32_t BigEndian32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// Checks the signature and the header's dimensions before handing the bytes
// to the decoder, so a tiny file cannot ask for a gigantic surface.
bool LooksLikeSanePng(std::span<const uint8_t> bytes)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 33 || std::memcmp(bytes.data(), kSignature, 8) != 0) return false;
    if (std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return false;
    uint32_t w = BigEndian32(bytes.data() + 16);
    uint32_t h = BigEndian32(bytes.data() + 20);
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide;
}

}  // namespace

SurfacePtr DecodePng(std::span<const uint8_t> bytes)
{
    if (!LooksLikeSanePng(bytes)) return nullptr;
    ByteReader reader{bytes};
    SurfacePtr s(cairo_image_surface_create_from_png_stream(ReadBytes, &reader));
    if (!s || cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return s;
}

void ApplyMask(cairo_surface_t* surface, uint32_t rgb)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int w = cairo_image_surface_get_width(surface);
    int h = cairo_image_surface_get_height(surface);
    rgb &= 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x)
            if ((row[x] >> 24) == 0xFF && (row[x] & 0xFFFFFF) == rgb) row[x] = 0;
    }
    cairo_surface_mark_dirty(surface);
}

void ImageCache::SetArchive(std::shared_ptr<const SkinArchive> archive)
{
    m_archive = std::move(archive);
    m_images.clear();
}

cairo_surface_t* ImageCache::Get(const std::wstring& name, std::optional<uint32_t> mask)
{
    if (name.empty()) return nullptr;
    // 0 never collides with a real mask key because masks carry their alpha bit.
    auto key = std::make_pair(ToLower(name), mask ? (*mask | 0xFF000000u) : 0u);
    auto it = m_images.find(key);
    if (it != m_images.end()) return it->second.get();
    SurfacePtr surface;
    if (const auto* entry = m_archive ? m_archive->Find(name) : nullptr) surface = DecodePng(entry->bytes);
    if (surface && mask) ApplyMask(surface.get(), *mask);
    return m_images.emplace(key, std::move(surface)).first->second.get();
}

}  // namespace toolkit
