// The bounded queue, the staging file and the batch body, without a network.
#include <fstream>
#include <sstream>

#include "batch_decoder.h"
#include "event_sdk/batch_encoder.h"
#include "event_sdk/child_process.h"
#include "event_sdk/record_consumer.h"
#include "event_sdk/sdk_fixture.h"
#include "event_sdk/staging_file.h"

namespace event_sdk::test {
namespace {

using lexivar::test::ReadFile;
using lexivar::test::WriteFile;

class QueueTest : public SdkTest {
protected:
    // Nothing listens on port 9, so every send fails at once.
    std::string Unreachable() const { return "http://127.0.0.1:9/collect?project=pc"; }
};

TEST_F(QueueTest, KeepsTheNewest1024Records) {
    RecordConsumer consumer(Unreachable(), m_stagingPath);
    for (int n = 1; n <= 1025; ++n) consumer.Add(Numbered(n));
    EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(2, 1025));
}

TEST_F(QueueTest, StagingLoadKeepsTheLastValidLinesAndEmptiesTheFile) {
    std::string file;
    for (int n = 1; n <= 1100; ++n) {
        file += Numbered(n) + "\n";
        if (n % 100 == 0) file += "junk\n\n{unterminated\nnot}\n";
    }
    file += std::string("\0\xFF\n{\x01}\n", 7);  // binary noise; its second line looks like a record
    WriteFile(m_stagingPath, file);

    RecordConsumer consumer(Unreachable(), m_stagingPath);
    consumer.Add(Numbered(5000));
    EXPECT_FALSE(consumer.FlushOneBatch());  // loads, then fails to send and puts the batch back
    auto expected = NumberedRange(79, 1100);
    expected.push_back(std::string("{\x01}", 3));
    expected.push_back(Numbered(5000));
    EXPECT_EQ(consumer.QueuedRecords(), expected);
    EXPECT_EQ(ReadFile(m_stagingPath), "");
}

TEST_F(QueueTest, StagingIsLoadedOnlyOnceAndNotAtAllWhenTheQueueIsFull) {
    WriteFile(m_stagingPath, Numbered(1) + "\n");
    RecordConsumer full(Unreachable(), m_stagingPath);
    for (int n = 0; n < 1024; ++n) full.Add(Numbered(100));
    full.FlushOneBatch();
    EXPECT_EQ(ReadFile(m_stagingPath), "");  // no room: nothing read, file still emptied
    WriteFile(m_stagingPath, Numbered(2) + "\n");
    full.FlushOneBatch();
    EXPECT_EQ(ReadFile(m_stagingPath), Numbered(2) + "\n");  // second flush does not read again
}

TEST_F(QueueTest, CloseStagesEveryRecordForTheNextRun) {
    WriteFile(m_stagingPath, Numbered(1) + "\n" + Numbered(2) + "\n");
    {
        RecordConsumer consumer(Unreachable(), m_stagingPath);
        consumer.Add(Numbered(3));
        consumer.Close();
        consumer.Close();  // a second close changes nothing
    }
    EXPECT_EQ(ReadFile(m_stagingPath), Numbered(1) + "\n" + Numbered(2) + "\n" + Numbered(3) + "\n");
    // The file is replaced by rename, so no temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 1);

    RecordConsumer next(Unreachable(), m_stagingPath);
    next.Add(Numbered(4));
    next.Close();
    EXPECT_EQ(ReadFile(m_stagingPath), Numbered(1) + "\n" + Numbered(2) + "\n" + Numbered(3) + "\n" + Numbered(4) + "\n");
}

TEST_F(QueueTest, UnwritableStagingFileLosesNothingButSaysSo) {
    const std::string missingFolder = (m_folder / "missing" / "staging.txt").string();
    RecordConsumer consumer(Unreachable(), missingFolder);
    consumer.Add(Numbered(1));
    EXPECT_FALSE(consumer.FlushOneBatch());
    EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(1, 1));
    consumer.Close();
    EXPECT_EQ(m_errors.Lines().back(), "Event SDK could not write the staging file: " + missingFolder);
}

TEST(StagingReader, LargeFileKeepsOnlyTheTail) {
    // About 100 MB of lines through a stream: memory stays at `keep` lines.
    struct Lines : std::streambuf {
        std::string block;
        int left;
        Lines(int blocks) : left(blocks) {
            for (int i = 0; i < 1000; ++i) block += "{\"padding\":\"" + std::string(88, 'p') + "\"}\n";
        }
        int_type underflow() override {
            if (left-- <= 0) return traits_type::eof();
            setg(block.data(), block.data(), block.data() + block.size());
            return traits_type::to_int_type(block[0]);
        }
    } lines(1000);
    std::istream in(&lines);
    const auto records = ReadStagingRecords(in, 1024);
    EXPECT_EQ(records.size(), 1024u);
}

TEST(BatchBody, HasItsFrameAndDecodesToTheJoinedRecords) {
    const auto records = NumberedRange(1, 30);
    const auto body = BuildRequestBody(records);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->rfind("data_list=", 0), 0u);
    EXPECT_EQ(body->substr(body->size() - 7), "&gzip=1");
    EXPECT_EQ(body->find_first_of("+/="), body->find("="));  // only the field's own '='
    const auto encoded = collector::FormField(*body, "data_list");
    ASSERT_TRUE(encoded);
    const auto text = collector::Gunzip(*collector::Base64Decode(*collector::PercentDecode(*encoded)), 1 << 20);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, JoinBatch(records));
    EXPECT_EQ(collector::DecodeBatch(*body)->size(), 30u);
    // Nesting deeper than the JSON reader allows is refused, not a crash of the collector.
    const auto deep = BuildRequestBody({std::string(5000, '[') + std::string(5000, ']')});
    ASSERT_TRUE(deep);
    EXPECT_FALSE(collector::DecodeBatch(*deep));
}

TEST(BatchBody, EncodingTables) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
    EXPECT_EQ(PercentEncode("Az09-._~+/= %\xFF"), "Az09-._~%2B%2F%3D%20%25%FF");
    EXPECT_EQ(JoinBatch({}), "[]");
    const auto gzip = GzipCompress("abc");
    ASSERT_TRUE(gzip);
    EXPECT_EQ(gzip->substr(0, 3), "\x1F\x8B\x08");  // gzip magic and deflate method
}

// python3's own urllib, base64, gzip and json read the body, so our encoder
// and our collector cannot share a mistake unnoticed.
TEST(BatchBody, DecodesWithPythonsStandardLibrary) {
    std::vector<std::string> records;
    for (int n = 0; n < 30; ++n)
        records.push_back("{\"n\":" + std::to_string(n) + ",\"s\":\"\\\"tab\\t\xE4\xB8\xAD\xF0\x9F\x98\x80 +/=&%\"}");
    const auto body = BuildRequestBody(records);
    ASSERT_TRUE(body);
    const std::string script =
        "import sys, urllib.parse, base64, gzip, json\n"
        "form = urllib.parse.parse_qs(sys.stdin.read(), strict_parsing=True)\n"
        "assert form['gzip'] == ['1']\n"
        "text = gzip.decompress(base64.b64decode(form['data_list'][0], validate=True))\n"
        "batch = json.loads(text)\n"
        "assert [r['n'] for r in batch] == list(range(30))\n"
        "sys.stdout.write(text.decode('utf-8'))\n";
    int status = -1;
    const std::string output = RunProgram({"python3", "-c", script}, *body, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, JoinBatch(records));
}

}  // namespace
}  // namespace event_sdk::test
