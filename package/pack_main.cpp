// Build tool: appends an archive of the given files to the installer program
// and closes it with the trailer that lets the program find its payload.
//
//   lexivar-package-pack STUB OUT [--gzip|--tar] [--filler NAME SIZE] NAME=FILE...
#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "payload.hpp"

namespace {

using ArchivePtr = std::unique_ptr<struct archive, int (*)(struct archive*)>;

bool AddEntry(struct archive* a, const std::string& name, const std::string& data, int mode) {
  std::unique_ptr<struct archive_entry, void (*)(struct archive_entry*)> e(archive_entry_new(),
                                                                          &archive_entry_free);
  archive_entry_set_pathname(e.get(), name.c_str());
  archive_entry_set_filetype(e.get(), AE_IFREG);
  archive_entry_set_perm(e.get(), static_cast<mode_t>(mode));
  archive_entry_set_size(e.get(), static_cast<la_int64_t>(data.size()));
  if (archive_write_header(a, e.get()) != ARCHIVE_OK) return false;
  return archive_write_data(a, data.data(), data.size()) == static_cast<la_ssize_t>(data.size());
}

bool ReadFile(const std::string& path, std::string& out, int& mode) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  struct stat st {};
  mode = stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : 0644;
  return true;
}

// Reproducible incompressible bytes: a product data file that gives the
// package a realistic size without checking in binary data.
std::string Filler(std::size_t size) {
  std::string out(size, '\0');
  std::uint64_t x = 0x9E3779B97F4A7C15ULL;
  for (auto& c : out) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    c = static_cast<char>(x >> 56);
  }
  return out;
}

int Usage() {
  std::fputs("usage: lexivar-package-pack STUB OUT [--gzip|--tar] [--filler NAME SIZE] NAME=FILE...\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string stub;
  int stubMode = 0755;
  if (!ReadFile(argv[1], stub, stubMode)) return Usage();
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out || std::fwrite(stub.data(), 1, stub.size(), out) != stub.size()) return 1;
  std::fflush(out);

  ArchivePtr a(archive_write_new(), &archive_write_free);
  archive_write_set_format_pax_restricted(a.get());
  bool gzip = true;
  std::vector<std::pair<std::string, std::string>> entries;
  std::string fillerName;
  std::size_t fillerSize = 0;
  for (int i = 3; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--tar") gzip = false;
    else if (arg == "--gzip") gzip = true;
    else if (arg == "--filler" && i + 2 < argc) {
      fillerName = argv[++i];
      fillerSize = std::stoul(argv[++i]);
    } else if (auto eq = arg.find('='); eq != std::string::npos) {
      entries.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    } else {
      return Usage();
    }
  }
  if (gzip) archive_write_add_filter_gzip(a.get());
  if (archive_write_open_FILE(a.get(), out) != ARCHIVE_OK) return 1;
  for (const auto& [name, path] : entries) {
    std::string data;
    int perm = 0644;
    if (!ReadFile(path, data, perm) || !AddEntry(a.get(), name, data, perm)) {
      std::fprintf(stderr, "cannot pack %s\n", path.c_str());
      return 1;
    }
  }
  if (fillerSize && !AddEntry(a.get(), fillerName, Filler(fillerSize), 0644)) return 1;
  if (archive_write_close(a.get()) != ARCHIVE_OK) return 1;
  const std::string trailer = lexivar::package::MakeTrailer(stub.size());
  bool ok = std::fwrite(trailer.data(), 1, trailer.size(), out) == trailer.size();
  ok = std::fclose(out) == 0 && ok;
  if (ok) chmod(argv[2], 0755);
  return ok ? 0 : 1;
}
