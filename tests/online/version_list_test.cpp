#include "online/version_list.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace kad::online {
namespace {

using test::LoopbackHttpServer;
using test::TempDir;

// A list in the order the server must publish it, with distinct values per row.
std::string wellFormedList(const std::string& lineEnd, int leftOutRow = -1) {
  std::string text;
  for (int row = 0; row < kVersionRowCount; ++row) {
    if (row == leftOutRow) continue;
    text += std::string(kVersionEntries[row].entryName) + lineEnd;
    text += "v" + std::to_string(row) + lineEnd;
  }
  return text;
}

TEST(ParseVersionList, CrLfAndLfListsGiveTheSameValues) {
  const auto withLf = parseVersionList(wellFormedList("\n"));
  const auto withCrLf = parseVersionList(wellFormedList("\r\n"));
  EXPECT_EQ(withLf, withCrLf);
  for (int row = 0; row < kVersionRowCount; ++row) EXPECT_EQ(withLf[row], "v" + std::to_string(row)) << row;
}

TEST(ParseVersionList, CursorRulesForMisorderedMissingAndUnterminatedEntries) {
  struct Case {
    const char* name;
    std::string list;
    std::vector<std::pair<int, std::string>> expected;
  };
  const std::vector<Case> cases = {
      {"TIMSK before TIM gives TIM the TIMSK value and shifts the rows",
       "KAD_RQV527E1PU\n1.1\nKAD\n\nRQV527E1\n3\nRQV638TIMSK\n5\nRQV638TIM\n4\nRQV749DSL2+\n6\n",
       {{RowE1, "3"}, {RowTIM, "5"}, {RowTIMSK, "RQV638TIM"}, {RowDSL2, "6"}}},
      {"a missing entry takes the line after the cursor line",
       wellFormedList("\n", RowCATV),
       {{RowTP, "v6"}, {RowCATV, "RQV962M"}, {RowMegometro, "v8"}, {RowOTDR, "v9"}}},
      {"a list without a final line end leaves the last value empty",
       "KAD_RQV527E1PU\n1.1\nFirmware E1/TIM\n2.0", {{RowProgram, "1.1"}, {RowFirmware, ""}}},
      {"an error page gives whatever lines follow the cursor",
       "<html>\n<body>404</body>\n</html>\n", {{RowProgram, "<body>404</body>"}, {RowKad, "</html>"}, {RowE1, ""}}},
      {"a name inside a line still counts; the value is the next line, cut at CR",
       "# KAD_RQV527E1PU follows\n1.2\r\r\nKAD\nx\rKAD\n", {{RowProgram, "1.2"}, {RowKad, "x"}}},
      {"an empty list gives empty values", "", {{RowProgram, ""}, {RowFirmware, ""}}},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    const auto values = parseVersionList(testCase.list);
    for (const auto& [row, value] : testCase.expected) EXPECT_EQ(values[row], value) << "row " << row;
  }
}

class LoadVersionListTest : public ::testing::Test {
 protected:
  LoopbackHttpServer server;
  TempDir programDir;
  platform::IniFile brandIni{programDir.path() / "DORN.ini"};
  platform::HttpClient http{"KAD"};
  VersionTable table;

  void SetUp() override {
    table.online.fill("old online");
    table.local.fill("old local");
  }
};

TEST_F(LoadVersionListTest, FillsOnlineTextsFromTheServerAndLocalTextsFromTheBrandFile) {
  server.serve(std::string(kVersionListPath), wellFormedList("\r\n"));
  brandIni.writeString("Version", "VER_E1", "0");
  brandIni.writeString("Version", "HARD_CPU206", "7.1");

  ASSERT_EQ(loadVersionList(http, server.baseUrl(), brandIni, table), VersionListOutcome::Loaded);
  EXPECT_EQ(table.online[RowE1], "v2");
  EXPECT_EQ(table.online[RowFirmware], "v13");
  EXPECT_EQ(table.local[RowE1], "0");
  EXPECT_EQ(table.local[RowFirmware], "7.1");
  EXPECT_EQ(table.local[RowTIM], "");
  EXPECT_EQ(table.local[RowKad], "old local");  // the "KAD" row has no local key
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].agent, "KAD");
}

TEST_F(LoadVersionListTest, ErrorAnswersAndDeadServersLeaveTheTableAndTheDiskUntouched) {
  const auto before = table;
  for (const int status : {404, 500}) {
    server.fail(std::string(kVersionListPath), status);
    EXPECT_EQ(loadVersionList(http, server.baseUrl(), brandIni, table), VersionListOutcome::NoServer) << status;
  }
  EXPECT_EQ(loadVersionList(http, "http://127.0.0.1:1", brandIni, table), VersionListOutcome::NoServer);
  EXPECT_EQ(table.online, before.online);
  EXPECT_EQ(table.local, before.local);
  EXPECT_TRUE(std::filesystem::is_empty(programDir.path()));
}

TEST_F(LoadVersionListTest, AListFarTooLongForAVersionListIsRefused) {
  server.serve(std::string(kVersionListPath), std::string(kMaxVersionListBytes + 1, 'x'));
  EXPECT_EQ(loadVersionList(http, server.baseUrl(), brandIni, table), VersionListOutcome::NoServer);
  EXPECT_EQ(table.online[RowProgram], "old online");
}

}  // namespace
}  // namespace kad::online
