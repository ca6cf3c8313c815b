#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace toolkit {

class SkinArchive;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Decodes PNG bytes into a premultiplied ARGB surface; null for anything that
// is not a PNG, is damaged, or is larger than any skin picture could be.
SurfacePtr DecodePng(std::span<const uint8_t> bytes);

// Turns every pixel of the given RGB into a transparent one.
void ApplyMask(cairo_surface_t* surface, uint32_t rgb);

// Decoded pictures of one window, by archive name and mask colour. A name
// that is missing or not decodable is remembered as missing.
class ImageCache final {
public:
    explicit ImageCache(std::shared_ptr<const SkinArchive> archive) : m_archive(std::move(archive)) {}
    cairo_surface_t* Get(const std::wstring& name, std::optional<uint32_t> mask = std::nullopt);
    void SetArchive(std::shared_ptr<const SkinArchive> archive);

private:
    std::shared_ptr<const SkinArchive> m_archive;
    std::map<std::pair<std::wstring, uint32_t>, SurfacePtr> m_images;
};

}  // namespace toolkit
