// Batches posted to a real lexivar-collector, with its faults switched on.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "event_sdk/child_process.h"
#include "event_sdk/record_consumer.h"
#include "event_sdk/request_client.h"
#include "event_sdk/sdk_fixture.h"

namespace event_sdk::test {
namespace {

using Clock = std::chrono::steady_clock;

// The request log's record counts and statuses, in order.
std::vector<std::string> Summary(const Collector& collector) {
    std::vector<std::string> summary;
    for (const auto& line : collector.Requests()) {
        std::smatch m;
        std::regex_search(line, m, std::regex(R"re("records":(\d+).*"status":(\d+))re"));
        summary.push_back(m[2].str() + ":" + m[1].str());
    }
    return summary;
}

class SenderTest : public SdkTest {};

TEST_F(SenderTest, SendsThe65RecordsInBatchesOf30InOrder) {
    Collector collector(m_folder.string());
    ASSERT_TRUE(collector.running());
    RecordConsumer consumer(collector.Url(), m_stagingPath);
    for (int n = 1; n <= 65; ++n) consumer.Add(Numbered(n));
    EXPECT_TRUE(consumer.Flush());
    EXPECT_TRUE(LastSendOk());
    EXPECT_EQ(consumer.QueueSize(), 0u);
    EXPECT_EQ(Summary(collector), (std::vector<std::string>{"200:30", "200:30", "200:5"}));
    EXPECT_EQ(collector.Records(), NumberedRange(1, 65));
    const std::string request = collector.Requests()[0];
    EXPECT_NE(request.find(R"("cookie":false)"), std::string::npos);
    EXPECT_NE(request.find(R"("user_agent":"ZrEvents CPP SDK 0.9")"), std::string::npos);
    EXPECT_NE(request.find(R"("content_type":"application/x-www-form-urlencoded")"), std::string::npos);
    EXPECT_TRUE(consumer.Flush());  // nothing left: no request
    EXPECT_EQ(collector.Requests().size(), 3u);
}

TEST_F(SenderTest, AFailedBatchReturnsToTheFrontAndStopsTheFlush) {
    Collector collector(m_folder.string(), {"--fault", "500", "--fault-count", "1"});
    ASSERT_TRUE(collector.running());
    std::vector<std::string> debugLines;
    SetDebugOutput([&](std::string_view line) { debugLines.emplace_back(line); });
    RecordConsumer consumer(collector.Url(), m_stagingPath);
    for (int n = 1; n <= 65; ++n) consumer.Add(Numbered(n));
    EXPECT_FALSE(consumer.Flush());
    EXPECT_FALSE(LastSendOk());
    EXPECT_EQ(Summary(collector), std::vector<std::string>{"500:0"});
    EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(1, 65));
    EXPECT_EQ(m_errors.Lines(), std::vector<std::string>{"Event SDK send failed: fault injected"});
    SetDebugOutput({});
    EXPECT_EQ(debugLines, std::vector<std::string>{"[events] Event SDK send failed"});
    EXPECT_TRUE(consumer.Flush());  // the endpoint recovered
    EXPECT_EQ(collector.Records(), NumberedRange(1, 65));
}

TEST_F(SenderTest, BrokenEndpointsKeepTheBatchForTheNextFlush) {
    struct Case {
        std::vector<std::string> arguments;
        double maxSeconds;
    };
    const Case cases[] = {
        {{"--fault", "close"}, 2.0},
        {{"--fault", "stall", "--stall-seconds", "30"}, 4.5},  // ended by the 3-second limit
    };
    for (const auto& c : cases) {
        Collector collector(m_folder.string(), c.arguments);
        ASSERT_TRUE(collector.running());
        RecordConsumer consumer(collector.Url(), m_stagingPath);
        for (int n = 1; n <= 3; ++n) consumer.Add(Numbered(n));
        const auto start = Clock::now();
        EXPECT_FALSE(consumer.Flush()) << c.arguments[1];
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), c.maxSeconds) << c.arguments[1];
        EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(1, 3)) << c.arguments[1];
        EXPECT_FALSE(LastSendOk());
    }
}

// An endpoint that is not speaking HTTP at all.
TEST_F(SenderTest, GarbageAnswerKeepsTheBatch) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::thread server([listener] {
        const int client = accept(listener, nullptr, nullptr);
        char buffer[4096];
        [[maybe_unused]] auto got = read(client, buffer, sizeof buffer);
        const char garbage[] = "\x01\xFFnot http at all\r\n\r\n";
        [[maybe_unused]] auto sent = write(client, garbage, sizeof garbage - 1);
        close(client);
    });
    RecordConsumer consumer("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/collect?project=pc",
                            m_stagingPath);
    consumer.Add(Numbered(1));
    EXPECT_FALSE(consumer.Flush());
    server.join();
    close(listener);
    EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(1, 1));
    ASSERT_EQ(m_errors.Lines().size(), 1u);
    EXPECT_EQ(m_errors.Lines()[0].rfind("Event SDK send failed: ", 0), 0u);
}

// Records from several threads while batches go out: none lost, none doubled.
TEST_F(SenderTest, ConcurrentTrackAndFlushDeliverEveryRecord) {
    Collector collector(m_folder.string());
    ASSERT_TRUE(collector.running());
    ASSERT_TRUE(Sdk::Init(m_stagingPath, collector.Url(), "device-1", false));
    std::atomic<bool> done{false};
    std::thread flusher([&] {
        while (!done) {
            Sdk::Flush();
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> producers;
    for (int t = 0; t < 4; ++t)
        producers.emplace_back([t] {
            for (int i = 0; i < 150; ++i) {
                PropertiesNode properties;
                properties.SetInt("n", t * 1000 + i);
                Sdk::Track("Concurrent", properties);
            }
        });
    for (auto& p : producers) p.join();
    done = true;
    flusher.join();
    EXPECT_TRUE(Sdk::Flush());
    std::set<int> seen;
    for (const auto& record : collector.Records()) {
        std::smatch n;
        ASSERT_TRUE(std::regex_search(record, n, std::regex(R"("n":(\d+))")));
        EXPECT_TRUE(seen.insert(std::stoi(n[1])).second) << record;
    }
    EXPECT_EQ(seen.size(), 600u);
}

TEST_F(SenderTest, CookieIsSentOnlyWhenSet) {
    Collector collector(m_folder.string());
    ASSERT_TRUE(collector.running());
    RecordConsumer consumer(collector.Url(), m_stagingPath);
    consumer.SetCookie("session=1");
    consumer.Add(Numbered(1));
    EXPECT_TRUE(consumer.Flush());
    EXPECT_NE(collector.Requests()[0].find(R"("cookie":true)"), std::string::npos);
}

TEST_F(SenderTest, ShutdownStagesTheQueueAndTheNextRunSendsItFirst) {
    Collector collector(m_folder.string());
    ASSERT_TRUE(collector.running());
    ASSERT_TRUE(Sdk::Init(m_stagingPath, collector.Url(), "device-1", false));
    Sdk::Track("First", PropertiesNode());
    Sdk::Track("Second", PropertiesNode());
    Sdk::Shutdown();
    EXPECT_TRUE(collector.Records().empty());
    EXPECT_EQ(Sdk::QueuedRecords().size(), 0u);

    ASSERT_TRUE(Sdk::Init(m_stagingPath, collector.Url(), "device-1", false));
    Sdk::Track("Third", PropertiesNode());
    EXPECT_TRUE(Sdk::Flush());
    const auto records = collector.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_NE(records[0].find("\"First\""), std::string::npos);
    EXPECT_NE(records[1].find("\"Second\""), std::string::npos);
    EXPECT_NE(records[2].find("\"Third\""), std::string::npos);
    EXPECT_EQ(lexivar::test::ReadFile(m_stagingPath), "");
}

// Adding never waits for a batch that is in flight.
TEST_F(SenderTest, AddsProceedWhileAFlushStalls) {
    Collector collector(m_folder.string(), {"--fault", "stall", "--stall-seconds", "30"});
    ASSERT_TRUE(collector.running());
    RecordConsumer consumer(collector.Url(), m_stagingPath);
    consumer.Add(Numbered(0));
    std::thread flusher([&] { EXPECT_FALSE(consumer.Flush()); });
    while (consumer.QueueSize() != 0) std::this_thread::yield();  // the batch is in flight
    const auto start = Clock::now();
    for (int n = 1; n <= 100; ++n) consumer.Add(Numbered(n));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    flusher.join();
    EXPECT_EQ(consumer.QueuedRecords(), NumberedRange(0, 100));
}

TEST(ResponseHeaders, LinesSplitAtTheFirstColon) {
    std::map<std::string, std::string> headers;
    AddHeaderLine(headers, "HTTP/1.1 200 OK\r\n");
    AddHeaderLine(headers, "Location:  http://x:1/ \r\n");
    AddHeaderLine(headers, "\r\n");
    EXPECT_EQ(headers, (std::map<std::string, std::string>{{"HTTP/1.1 200 OK", "present"},
                                                           {"Location", "http://x:1/"}}));
}

}  // namespace
}  // namespace event_sdk::test
