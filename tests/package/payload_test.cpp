#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "package/payload.hpp"

namespace fs = std::filesystem;
using namespace lexivar::package;

namespace {

struct Entry {
  std::string m_name;
  std::string m_data;
  std::string m_symlink;  // non-empty: a symbolic link to this target
};

// A fake package: some program bytes, a tar payload and the trailer.
fs::path MakePackage(const fs::path& dir, const std::vector<Entry>& entries) {
  std::vector<char> buf(1 << 20);
  size_t used = 0;
  std::unique_ptr<struct archive, int (*)(struct archive*)> a(archive_write_new(), &archive_write_free);
  archive_write_set_format_pax_restricted(a.get());
  archive_write_open_memory(a.get(), buf.data(), buf.size(), &used);
  for (const auto& e : entries) {
    std::unique_ptr<struct archive_entry, void (*)(struct archive_entry*)> ent(archive_entry_new(),
                                                                              &archive_entry_free);
    archive_entry_set_pathname(ent.get(), e.m_name.c_str());
    archive_entry_set_perm(ent.get(), 0644);
    if (!e.m_symlink.empty()) {
      archive_entry_set_filetype(ent.get(), AE_IFLNK);
      archive_entry_set_symlink(ent.get(), e.m_symlink.c_str());
    } else {
      archive_entry_set_filetype(ent.get(), AE_IFREG);
      archive_entry_set_size(ent.get(), static_cast<la_int64_t>(e.m_data.size()));
    }
    archive_write_header(a.get(), ent.get());
    archive_write_data(a.get(), e.m_data.data(), e.m_data.size());
  }
  archive_write_close(a.get());
  const std::string stub = "#!program bytes";
  fs::path pkg = dir / "pkg.bin";
  std::ofstream out(pkg, std::ios::binary | std::ios::trunc);
  out << stub;
  out.write(buf.data(), static_cast<std::streamsize>(used));
  out << MakeTrailer(stub.size());
  return pkg;
}

class PayloadTest : public testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::path(testing::TempDir()) / ("payload_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_root);
    fs::create_directories(m_root / "dest");
  }
  void TearDown() override { fs::remove_all(m_root); }
  ExtractResult Extract(const std::vector<Entry>& entries) {
    fs::path pkg = MakePackage(m_root, entries);
    PayloadRegion region;
    EXPECT_TRUE(FindPayload(pkg, region));
    return ExtractPayload(pkg, region, m_root / "dest", nullptr);
  }
  fs::path m_root;
};

}  // namespace

TEST(PayloadPaths, OnlyPathsStayingInsideTheFolderAreContained) {
  const std::pair<const char*, bool> cases[] = {
      {"lexivar.exe", true}, {"share/a/b.dat", true}, {"./x", true}, {"a/../b", true},
      {"../x", false},       {"a/../../x", false},    {"/etc/passwd", false}, {"", false},
      {".", false},          {"a/..", false},
  };
  for (const auto& [path, contained] : cases) EXPECT_EQ(IsContainedEntryPath(path), contained) << path;
}

TEST_F(PayloadTest, ExtractsFilesAndReportsWhatItCreated) {
  auto r = Extract({{"lexivar.exe", "bin", ""}, {"share/lexivar/data", "d", ""}});
  ASSERT_TRUE(r.m_ok) << r.m_error;
  EXPECT_EQ(r.m_files.size(), 2u);
  ASSERT_EQ(r.m_dirs.size(), 2u);  // share, share/lexivar
  std::ifstream in(m_root / "dest/share/lexivar/data");
  std::string s;
  in >> s;
  EXPECT_EQ(s, "d");
}

TEST_F(PayloadTest, RefusesEntriesEscapingTheFolderAndRollsBack) {
  const std::vector<std::vector<Entry>> payloads = {
      {{"ok.txt", "1", ""}, {"../escaped.txt", "x", ""}},
      {{"ok.txt", "1", ""}, {"/tmp/abs-escaped.txt", "x", ""}},
      {{"ok.txt", "1", ""}, {"link", "", "../.."}},
      {{"ok.txt", "1", ""}, {"sub/link", "", "/etc"}},
  };
  for (const auto& entries : payloads) {
    auto r = Extract(entries);
    EXPECT_FALSE(r.m_ok) << entries[1].m_name;
    EXPECT_NE(r.m_error.find("outside"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_root / "escaped.txt"));
    EXPECT_TRUE(fs::is_empty(m_root / "dest")) << entries[1].m_name;
  }
}

TEST_F(PayloadTest, MissingOrDamagedPayloadIsReported) {
  fs::path plain = m_root / "plain.bin";
  std::ofstream(plain) << "no trailer here at all, just bytes";
  PayloadRegion region;
  EXPECT_FALSE(FindPayload(plain, region));
  EXPECT_FALSE(FindPayload(m_root / "missing.bin", region));

  fs::path garbage = m_root / "garbage.bin";
  {
    std::ofstream out(garbage, std::ios::binary);
    out << "stub" << std::string(3000, '\x7f') << MakeTrailer(4);
  }
  ASSERT_TRUE(FindPayload(garbage, region));
  auto r = ExtractPayload(garbage, region, m_root / "dest", nullptr);
  EXPECT_FALSE(r.m_ok);
  EXPECT_TRUE(fs::is_empty(m_root / "dest"));
}
