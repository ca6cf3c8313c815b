#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include "payload.hpp"

namespace lexivar::package {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kReadBlock = 1 << 20;

// Feeds libarchive exactly the payload region of the package file.
struct RegionSource final {
  std::FILE* m_file = nullptr;
  std::uint64_t m_remaining = 0;
  std::vector<char> m_buffer = std::vector<char>(kReadBlock);
};

la_ssize_t ReadRegion(struct archive*, void* data, const void** out) {
  auto* src = static_cast<RegionSource*>(data);
  std::size_t want = src->m_remaining < kReadBlock ? static_cast<std::size_t>(src->m_remaining) : kReadBlock;
  std::size_t got = want ? std::fread(src->m_buffer.data(), 1, want, src->m_file) : 0;
  src->m_remaining -= got;
  *out = src->m_buffer.data();
  return static_cast<la_ssize_t>(got);
}

struct Extraction final {
  const fs::path& m_dest;
  ExtractResult m_result;

  bool Fail(const std::string& message) {
    m_result.m_ok = false;
    m_result.m_error = message;
    return false;
  }

  // Removes everything this run wrote, newest first, so a refused payload
  // leaves the folder as it was.
  void RollBack() {
    std::error_code ec;
    for (auto it = m_result.m_files.rbegin(); it != m_result.m_files.rend(); ++it) fs::remove(*it, ec);
    for (auto it = m_result.m_dirs.rbegin(); it != m_result.m_dirs.rend(); ++it) fs::remove(*it, ec);
    m_result.m_files.clear();
    m_result.m_dirs.clear();
  }

  void NoteCreatedDirs(const fs::path& target) {
    std::vector<fs::path> missing;
    for (fs::path p = target.parent_path(); p != m_dest && !p.empty() && !fs::exists(p); p = p.parent_path())
      missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) m_result.m_dirs.push_back(it->string());
  }
};

bool CopyData(struct archive* in, struct archive* out) {
  const void* buf = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  for (;;) {
    int r = archive_read_data_block(in, &buf, &size, &offset);
    if (r == ARCHIVE_EOF) return true;
    if (r != ARCHIVE_OK) return false;
    if (archive_write_data_block(out, buf, size, offset) != ARCHIVE_OK) return false;
  }
}

// Names the entry after its place under dest; false when it would escape.
bool Relocate(struct archive_entry* entry, const fs::path& dest, fs::path& target) {
  const char* name = archive_entry_pathname(entry);
  if (!name || !IsContainedEntryPath(name)) return false;
  if (const char* link = archive_entry_hardlink(entry)) {
    if (!IsContainedEntryPath(link)) return false;
    archive_entry_set_hardlink(entry, (dest / link).c_str());
  }
  if (const char* sym = archive_entry_symlink(entry)) {
    // A link is resolved from its own folder, so judge the joined path.
    fs::path joined = fs::path(name).parent_path() / sym;
    if (fs::path(sym).is_absolute() || !IsContainedEntryPath(joined.lexically_normal().string())) return false;
  }
  target = dest / fs::path(name).lexically_normal();
  archive_entry_set_pathname(entry, target.c_str());
  return true;
}

}  // namespace

bool IsContainedEntryPath(const std::string& path) {
  if (path.empty() || path[0] == '/') return false;
  int depth = 0;
  std::istringstream parts(path);
  std::string part;
  while (std::getline(parts, part, '/')) {
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
  }
  return depth > 0;
}

ExtractResult ExtractPayload(const fs::path& file, const PayloadRegion& region, const fs::path& dest,
                             const std::function<void(double)>& progress) {
  Extraction x{dest, {}};
  RegionSource src;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(file.c_str(), "rb"), &std::fclose);
  if (!f || std::fseek(f.get(), static_cast<long>(region.m_offset), SEEK_SET) != 0) {
    x.Fail("cannot read the package payload");
    return x.m_result;
  }
  src.m_file = f.get();
  src.m_remaining = region.m_size;

  std::unique_ptr<struct archive, int (*)(struct archive*)> in(archive_read_new(), &archive_read_free);
  archive_read_support_filter_all(in.get());
  archive_read_support_format_all(in.get());
  std::unique_ptr<struct archive, int (*)(struct archive*)> out(archive_write_disk_new(), &archive_write_free);
  archive_write_disk_set_options(out.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM |
                                                ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS);
  if (archive_read_open(in.get(), &src, nullptr, &ReadRegion, nullptr) != ARCHIVE_OK) {
    x.Fail("the package payload is damaged");
    return x.m_result;
  }

  bool ok = true;
  struct archive_entry* entry = nullptr;
  for (;;) {
    int r = archive_read_next_header(in.get(), &entry);
    if (r == ARCHIVE_EOF) break;
    if (r < ARCHIVE_WARN) { ok = x.Fail("the package payload is damaged"); break; }
    fs::path target;
    if (!Relocate(entry, dest, target)) {
      ok = x.Fail(std::string("refused payload entry outside the folder: ") + archive_entry_pathname(entry));
      break;
    }
    const bool isDir = archive_entry_filetype(entry) == AE_IFDIR;
    const bool existed = fs::exists(fs::symlink_status(target));
    x.NoteCreatedDirs(target);
    if (archive_write_header(out.get(), entry) != ARCHIVE_OK || !CopyData(in.get(), out.get()) ||
        archive_write_finish_entry(out.get()) != ARCHIVE_OK) {
      ok = x.Fail("cannot write " + target.string());
      break;
    }
    if (isDir && !existed) x.m_result.m_dirs.push_back(target.string());
    if (!isDir) x.m_result.m_files.push_back(target.string());
    if (progress && region.m_size)
      progress(static_cast<double>(archive_filter_bytes(in.get(), -1)) / static_cast<double>(region.m_size));
  }
  if (ok && archive_write_close(out.get()) != ARCHIVE_OK) ok = x.Fail("cannot finish writing the files");
  if (!ok) {
    x.RollBack();
    return x.m_result;
  }
  x.m_result.m_ok = true;
  return x.m_result;
}

}  // namespace lexivar::package
