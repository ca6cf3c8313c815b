#include "skin/skin_archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <span>

#include "platform/resources.h"

namespace skintest {

Archive ReadLinkedSkin() {
    Archive result;
    const Platform::ResourceBytes bytes = Platform::FindResourceBytes("ZIPRES", 147);
    archive* reader = archive_read_new();
    archive_read_support_format_7zip(reader);
    if (archive_read_open_memory(reader, bytes.data(), bytes.size()) != ARCHIVE_OK) {
        archive_read_free(reader);
        return result;
    }
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            ++result.folders;
            continue;
        }
        Bytes data(static_cast<std::size_t>(archive_entry_size(entry)));
        const la_ssize_t got = archive_read_data(reader, data.data(), data.size());
        if (got >= 0) data.resize(static_cast<std::size_t>(got));
        result.files.emplace(archive_entry_pathname(entry), std::move(data));
    }
    archive_read_free(reader);
    return result;
}

std::string FoldPath(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

const Bytes* FindEntry(const Archive& archive, std::string path) {
    const std::string wanted = FoldPath(std::move(path));
    for (const auto& [name, data] : archive.files) {
        if (FoldPath(name) == wanted) return &data;
    }
    return nullptr;
}

std::optional<PngSize> DecodePng(const Bytes& bytes) {
    struct Reader {
        std::span<const std::uint8_t> rest;
    } reader{bytes};
    auto read = [](void* closure, unsigned char* out, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (length > r->rest.size()) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, r->rest.data(), length);
        r->rest = r->rest.subspan(length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    std::optional<PngSize> size;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        size = PngSize{cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    }
    cairo_surface_destroy(surface);
    return size;
}

}  // namespace skintest
