// The shared test servers must themselves behave as promised, or every test
// built on them proves nothing.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "common/fault_server.h"
#include "common/nginx_server.h"
#include "common/test_files.h"

namespace lexivar::test {
namespace {
namespace fs = std::filesystem;

struct Fetched {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string body;
    std::string effectiveUrl;
};

size_t Append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

Fetched Fetch(const std::string& url, const std::string& range = {}, bool follow = false) {
    Fetched f;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &f.body);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    if (!range.empty()) curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
    f.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &f.status);
    char* effective = nullptr;
    curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
    if (effective) f.effectiveUrl = effective;
    curl_easy_cleanup(curl);
    return f;
}

TEST(NginxServerTest, ServesStagedPackageBehindRedirect) {
    fs::path dir = ScratchDir("nginx-support");
    StagedPackage package = StagePackage(dir / "www", 300000);
    NginxServer nginx({dir / "www", dir / "nginx", {{kPackageRoute, package.path}}});

    Fetched f = Fetch(nginx.Url(kPackageRoute), {}, true);
    EXPECT_EQ(f.code, CURLE_OK);
    EXPECT_EQ(f.status, 200);
    EXPECT_EQ(Md5Hex(f.body), package.md5);
    EXPECT_EQ(f.effectiveUrl, nginx.Url(package.path));
}

TEST(FaultServerTest, FaultsHitTheRequestsTheyAreMeantFor) {
    FaultServer server;
    auto body = std::make_shared<const std::string>(MakeTestBytes(200000));
    FaultRoute dropping = Serve(body);
    dropping.dropAt = {1000, 5000};
    server.Route("/drop", dropping);
    FaultRoute ignoring = Serve(body);
    ignoring.ignoreRange = true;
    server.Route("/ignore", ignoring);
    FaultRoute corrupting = Serve(body);
    corrupting.corruptAt = 7;
    corrupting.corruptTimes = 1;
    server.Route("/corrupt", corrupting);
    server.Route("/missing", Status(404));
    server.Route("/moved", Redirect("/ignore"));

    Fetched first = Fetch(server.Url("/drop"));
    EXPECT_EQ(first.code, CURLE_PARTIAL_FILE);
    EXPECT_EQ(first.body, body->substr(0, 1000));
    Fetched resumed = Fetch(server.Url("/drop"), "1000-");
    EXPECT_EQ(resumed.status, 206);
    EXPECT_EQ(resumed.body, body->substr(1000, 4000));
    Fetched last = Fetch(server.Url("/drop"), "5000-");
    EXPECT_EQ(last.code, CURLE_OK);
    EXPECT_EQ(last.body, body->substr(5000));

    Fetched whole = Fetch(server.Url("/ignore"), "100-199");
    EXPECT_EQ(whole.status, 200);
    EXPECT_EQ(whole.body, *body);

    Fetched bad = Fetch(server.Url("/corrupt"));
    EXPECT_EQ(bad.body.size(), body->size());
    EXPECT_NE(bad.body, *body);
    EXPECT_EQ(Fetch(server.Url("/corrupt")).body, *body);

    EXPECT_EQ(Fetch(server.Url("/missing")).status, 404);
    Fetched moved = Fetch(server.Url("/moved"), {}, true);
    EXPECT_EQ(moved.effectiveUrl, server.Url("/ignore"));

    ASSERT_EQ(server.Requests("GET", "/drop").size(), 3u);
    EXPECT_EQ(server.Requests("GET", "/drop")[1].range, "bytes=1000-");
}

}  // namespace
}  // namespace lexivar::test
