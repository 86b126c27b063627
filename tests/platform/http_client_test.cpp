#include "platform/http_client.h"

#include <gtest/gtest.h>

#include <atomic>

#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace kad::platform {
namespace {

using test::LoopbackHttpServer;
using test::readWholeFile;
using test::TempDir;
using test::writeWholeFile;
namespace fs = std::filesystem;

class HttpClientTest : public ::testing::Test {
 protected:
  LoopbackHttpServer server;
  TempDir folder;
  HttpClient client{"KAD"};
  fs::path target = folder.path() / "package.zip";

  std::string url(const std::string& path) const { return server.baseUrl() + path; }
  bool leftovers() const { return fs::exists(fs::path(target.string() + ".part")); }
};

TEST_F(HttpClientTest, DownloadStoresWholeAnswerAndReportsProgressAgainstAnnouncedLength) {
  const std::string body(100 * 1024 + 17, 'x');
  server.serve("/p.zip", body);
  std::uint64_t lastReceived = 0, lastAnnounced = 0;
  bool grewSteadily = true;
  HttpTransfer transfer;
  transfer.progress = [&](std::uint64_t received, std::uint64_t announced) {
    grewSteadily = grewSteadily && received > lastReceived;
    lastReceived = received;
    lastAnnounced = announced;
  };

  ASSERT_EQ(client.download(url("/p.zip"), target, transfer), HttpResult::Ok);
  EXPECT_EQ(readWholeFile(target), body);
  EXPECT_FALSE(leftovers());
  EXPECT_TRUE(grewSteadily);
  EXPECT_EQ(lastReceived, body.size());
  EXPECT_EQ(lastAnnounced, body.size());
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].agent, "KAD");
}

TEST_F(HttpClientTest, EmptySuccessfulAnswerGivesAnEmptyFile) {
  server.serve("/empty", "");
  ASSERT_EQ(client.download(url("/empty"), target), HttpResult::Ok);
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(fs::file_size(target), 0u);
}

TEST_F(HttpClientTest, ErrorStatusIsAFailureAndLeavesTheOldFileAlone) {
  for (const int status : {404, 500, 403}) {
    SCOPED_TRACE(status);
    writeWholeFile(target, "old package");
    server.fail("/p.zip", status);
    bool prepared = false;
    HttpTransfer transfer;
    transfer.beforeFirstWrite = [&] { return prepared = true; };
    EXPECT_EQ(client.download(url("/p.zip"), target, transfer), HttpResult::NoServer);
    EXPECT_EQ(readWholeFile(target), "old package");
    EXPECT_FALSE(prepared);
    EXPECT_FALSE(leftovers());
  }
}

TEST_F(HttpClientTest, AnswerCutInTheMiddleLeavesNoFileUnderItsName) {
  server.cutAfter("/p.zip", std::string(50000, 'z'), 20000);
  EXPECT_EQ(client.download(url("/p.zip"), target), HttpResult::Interrupted);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_FALSE(leftovers());
}

TEST_F(HttpClientTest, NoServerListeningIsNoServer) {
  std::string deadUrl;
  {
    LoopbackHttpServer gone;
    deadUrl = gone.baseUrl() + "/p.zip";
  }
  EXPECT_EQ(client.download(deadUrl, target), HttpResult::NoServer);
  std::string text;
  EXPECT_EQ(client.fetchText(deadUrl, text, 100), HttpResult::NoServer);
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(HttpClientTest, CancelEndsTheTransferAndRemovesThePart) {
  server.serve("/p.zip", std::string(4 * 1024 * 1024, 'c'));
  std::atomic<bool> cancel{false};
  HttpTransfer transfer;
  transfer.cancel = &cancel;
  transfer.progress = [&](std::uint64_t received, std::uint64_t) {
    if (received > 10000) cancel = true;
  };
  EXPECT_EQ(client.download(url("/p.zip"), target, transfer), HttpResult::Cancelled);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_FALSE(leftovers());
}

TEST_F(HttpClientTest, FolderThatCannotBeMadeIsALocalFailure) {
  server.serve("/p.zip", "data");
  HttpTransfer transfer;
  transfer.beforeFirstWrite = [] { return false; };
  EXPECT_EQ(client.download(url("/p.zip"), target, transfer), HttpResult::LocalFileFailed);
  EXPECT_EQ(client.download(url("/p.zip"), folder.path() / "missing" / "p.zip"), HttpResult::LocalFileFailed);
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(HttpClientTest, FetchTextKeepsSmallAnswersAndRefusesLongOnes) {
  server.serve("/v.txt", "KAD\n1.0\n");
  std::string text = "before";
  ASSERT_EQ(client.fetchText(url("/v.txt"), text, 8), HttpResult::Ok);
  EXPECT_EQ(text, "KAD\n1.0\n");
  text = "before";
  EXPECT_EQ(client.fetchText(url("/v.txt"), text, 7), HttpResult::TooLarge);
  EXPECT_EQ(text, "before");
  server.fail("/v.txt", 404);
  EXPECT_EQ(client.fetchText(url("/v.txt"), text, 1000), HttpResult::NoServer);
  EXPECT_EQ(text, "before");
}

TEST(JoinUrl, AppendsThePathWithOneSeparator) {
  EXPECT_EQ(joinUrl("http://h:1", "/a/b"), "http://h:1/a/b");
  EXPECT_EQ(joinUrl("http://h:1/", "/a/b"), "http://h:1/a/b");
  EXPECT_EQ(joinUrl("http://h:1/base//", "a"), "http://h:1/base/a");
}

}  // namespace
}  // namespace kad::platform
