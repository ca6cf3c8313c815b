#pragma once

// Builds skins in memory for tests: PNGs of solid colours and 7z archives,
// so no test depends on the shipped artwork.
#include <archive.h>
#include <archive_entry.h>
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fixture {

inline cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto* out = static_cast<std::string*>(closure);
    out->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// A PNG filled with one 0xAARRGGBB colour; `inner` fills the centre when the
// picture should look different at its edges (nine-patch checks).
inline std::string SolidPng(int w, int h, uint32_t argb, uint32_t inner = 0, int border = 0)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    auto fill = [&](uint32_t c, double x, double y, double cw, double ch) {
        cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                              (c >> 24) / 255.0);
        cairo_rectangle(cr, x, y, cw, ch);
        cairo_fill(cr);
    };
    fill(argb, 0, 0, w, h);
    if (border > 0) fill(inner, border, border, w - 2 * border, h - 2 * border);
    cairo_destroy(cr);
    std::string out;
    cairo_surface_write_to_png_stream(s, AppendBytes, &out);
    cairo_surface_destroy(s);
    return out;
}

using Files = std::vector<std::pair<std::string, std::string>>;

// A 7z archive (LZMA2, like the shipped skin) holding the given files.
inline std::vector<std::byte> Make7z(const Files& files)
{
    std::vector<std::byte> out(16 * 1024 * 1024);
    size_t used = 0;
    archive* a = archive_write_new();
    archive_write_set_format_7zip(a);
    archive_write_set_format_option(a, "7zip", "compression", "lzma2");
    archive_write_open_memory(a, out.data(), out.size(), &used);
    for (const auto& [name, data] : files) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.c_str());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, static_cast<la_int64_t>(data.size()));
        archive_write_header(a, e);
        archive_write_data(a, data.data(), data.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    out.resize(used);
    out.shrink_to_fit();
    return out;
}

inline uint32_t PixelAt(cairo_surface_t* s, int x, int y)
{
    cairo_surface_flush(s);
    auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) +
                                                  static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(s));
    return row[x];
}

}  // namespace fixture
