#include "online/package_download.h"

#include <gtest/gtest.h>

#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace kad::online {
namespace {

using enum EquipmentModel;
using test::LoopbackHttpServer;
using test::makeZipWithZipProgram;
using test::readWholeFile;
using test::TempDir;
namespace fs = std::filesystem;

TEST(FindPackage, TableRowsAndTheirQuirks) {
  struct Case {
    EquipmentModel target;
    std::string code;
    std::string remote, localFile, folder;
    bool unpack;
  };
  const std::vector<Case> cases = {
      {E1, "k", "/qe01/Software/RQV527E1/qee1pf.zip", "qee1pf.zip", "RQV527E1/HARD_PF/", true},
      {TIM, "ia", "/qe01/Software/RQV638TIM/qeti6ia.zip", "qeti6ia.zip", "RQV638TIM/HARD_IA/", true},
      {TIMSK, "b", "/qe01/Software/RQV638TIMSK/qetiskb.zip", "qetiskb.zip", "RQV638TIMSK/HARD_B/", true},
      {DSL2, "d", "/qe01/Software/RQV749DSL2+/qead2d.zip", "qead2d.zip", "RQV749DSL2+/HARD_D/", true},
      {TP, "b", "/qe01/Software/RQV183TP/183tp.zip", "183tp.zip", "RQV183TP/", true},
      {TP, "v14tp1A", "/qe01/Software/RQV183TP/especial/v14tp1A", "RQV183TP/HARD_OLD/v14tp1A", "RQV183TP/HARD_OLD/",
       false},
      {CATV, "d", "/qe01/Software/RQV851CATV/HARD_D/programa_principal.bin",
       "RQV851CATV/HARD_D/programa_principal.bin", "RQV851CATV/HARD_D/", false},
      {OTDR170, "a", "/qe01/Software/RQV467OTDR/HARD_A/programa_principal.bin",
       "RQV467OTDR/HARD_A/programa_principal.bin", "RQV467OTDR/HARD_A/", false},
      {OPM, "a", "/qe01/Software/RQV431OPM/HARD_A/programa_principal.bin", "RQV432PPM/HARD_A/programa_principal.bin",
       "RQV432PPM/HARD_A/", false},
      {OPM, "c", "/qe01/Software/RQV431OPM/HARD_C/programa_principal.bin", "RQV431OPM/HARD_C/programa_principal.bin",
       "RQV431OPM/HARD_C/", false},
      {CPU206, "whatever", "/qe01/Software/FIRMWARE_E1_TIM/programa_principal.bin",
       "FIRMWARE_E1_TIM/HARD_A/programa_principal.bin", "FIRMWARE_E1_TIM/HARD_A/", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.remote);
    const auto entry = findPackage(c.target, c.code);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->file.remotePath, c.remote);
    EXPECT_EQ(entry->file.localFile, fs::path(c.localFile));
    EXPECT_EQ(entry->file.localFolder, fs::path(c.folder));
    EXPECT_EQ(entry->unpack, c.unpack);
    EXPECT_EQ(entry->second.has_value(), c.target == E1);
  }
  // Codes a model does not have, upper-case codes and the model without packages.
  for (const auto& [target, code] : std::vector<std::pair<EquipmentModel, std::string>>{
           {CATV, "b"}, {TIM, "IA"}, {TIM, "b"}, {TP, "c"}, {MEGOMETRO, "c"}, {T1, "a"}, {OPM, ""}}) {
    EXPECT_FALSE(findPackage(target, code).has_value()) << static_cast<int>(target) << " " << code;
  }
}

class FetchPackageTest : public ::testing::Test {
 protected:
  LoopbackHttpServer server;
  TempDir programDir;
  TempDir work;
  platform::HttpClient http{"KAD"};

  fs::path dir() const { return programDir.path(); }
  PackageOutcome fetch(EquipmentModel target, const std::string& code) {
    return fetchPackage(http, server.baseUrl(), dir(), target, code);
  }
  void serveZip(const std::string& remotePath, const std::vector<test::ZipMember>& members) {
    const auto archive = work.path() / ("z" + std::to_string(zips_++) + ".zip");
    makeZipWithZipProgram(archive, members);
    server.serve(remotePath, readWholeFile(archive));
  }

 private:
  int zips_ = 0;
};

TEST_F(FetchPackageTest, TimIaIsStoredUnpackedIntoItsFolderAndTheZipDeleted) {
  serveZip("/qe01/Software/RQV638TIM/qeti6ia.zip", {{"page0.tag", "p0"}, {"page1.tag", "p1"}});
  ASSERT_EQ(fetch(TIM, "ia"), PackageOutcome::Done);
  EXPECT_EQ(readWholeFile(dir() / "RQV638TIM/HARD_IA/page0.tag"), "p0");
  EXPECT_EQ(readWholeFile(dir() / "RQV638TIM/HARD_IA/page1.tag"), "p1");
  EXPECT_FALSE(fs::exists(dir() / "qeti6ia.zip"));
  EXPECT_EQ(server.requests().at(0).agent, "KAD");
}

TEST_F(FetchPackageTest, AnyE1RequestFetchesBothZipsIntoBothFolders) {
  serveZip("/qe01/Software/RQV527E1/qee1pf.zip", {{"page0.tag", "qe"}});
  serveZip("/qe01/Software/RQV527E1/tte1pf.zip", {{"page0.tag", "tt"}});
  ASSERT_EQ(fetch(E1, "k"), PackageOutcome::Done);
  EXPECT_EQ(server.requestedPaths(),
            (std::vector<std::string>{"/qe01/Software/RQV527E1/qee1pf.zip", "/qe01/Software/RQV527E1/tte1pf.zip"}));
  EXPECT_EQ(readWholeFile(dir() / "RQV527E1/HARD_PF/page0.tag"), "qe");
  EXPECT_EQ(readWholeFile(dir() / "RQV527E1/HARD_TT_PF/page0.tag"), "tt");
  EXPECT_FALSE(fs::exists(dir() / "qee1pf.zip"));
  EXPECT_FALSE(fs::exists(dir() / "tte1pf.zip"));
}

TEST_F(FetchPackageTest, AMissingSecondE1FileIsNotAFailureAndStoresNothingOfIt) {
  serveZip("/qe01/Software/RQV527E1/qee1pf.zip", {{"page0.tag", "qe"}});
  ASSERT_EQ(fetch(E1, "pf"), PackageOutcome::Done);
  EXPECT_EQ(readWholeFile(dir() / "RQV527E1/HARD_PF/page0.tag"), "qe");
  EXPECT_FALSE(fs::exists(dir() / "tte1pf.zip"));
  EXPECT_FALSE(fs::exists(dir() / "RQV527E1/HARD_TT_PF/page0.tag"));
}

TEST_F(FetchPackageTest, TpCodesShareOneZipAndSpecialFilesAreStoredAsTheyCome) {
  serveZip("/qe01/Software/RQV183TP/183tp.zip", {{"app.pkg", "tp"}});
  ASSERT_EQ(fetch(TP, "a"), PackageOutcome::Done);
  ASSERT_EQ(fetch(TP, "b"), PackageOutcome::Done);
  EXPECT_EQ(server.requestedPaths(),
            (std::vector<std::string>{"/qe01/Software/RQV183TP/183tp.zip", "/qe01/Software/RQV183TP/183tp.zip"}));
  EXPECT_EQ(readWholeFile(dir() / "RQV183TP/app.pkg"), "tp");

  // A special file is never unpacked, even when it happens to be a zip.
  serveZip("/qe01/Software/RQV183TP/especial/UP5v6TP1A", {{"inner", "x"}});
  const std::string served = readWholeFile(work.path() / "z1.zip");
  ASSERT_EQ(fetch(TP, "UP5v6TP1A"), PackageOutcome::Done);
  EXPECT_EQ(readWholeFile(dir() / "RQV183TP/HARD_OLD/UP5v6TP1A"), served);
  EXPECT_FALSE(fs::exists(dir() / "RQV183TP/HARD_OLD/inner"));
}

TEST_F(FetchPackageTest, ARequestWithoutAnEntryIsRefusedWithoutTouchingAnything) {
  EXPECT_EQ(fetch(CATV, "b"), PackageOutcome::NoEntry);
  EXPECT_EQ(fetch(T1, "a"), PackageOutcome::NoEntry);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(fs::is_empty(dir()));
}

TEST_F(FetchPackageTest, AMissingFolderChainIsCreated) {
  server.serve("/qe01/Software/RQV851CATV/HARD_C/programa_principal.bin", "image");
  ASSERT_EQ(fetch(CATV, "c"), PackageOutcome::Done);
  EXPECT_EQ(readWholeFile(dir() / "RQV851CATV/HARD_C/programa_principal.bin"), "image");
}

TEST_F(FetchPackageTest, ErrorAnswersStoreAndUnpackNothing) {
  for (const int status : {404, 500}) {
    server.fail("/qe01/Software/RQV638TIM/qeti6ia.zip", status);
    server.fail("/qe01/Software/RQV851CATV/HARD_C/programa_principal.bin", status);
    EXPECT_EQ(fetch(TIM, "ia"), PackageOutcome::NoServer) << status;
    EXPECT_EQ(fetch(CATV, "c"), PackageOutcome::NoServer) << status;
  }
  EXPECT_TRUE(fs::is_empty(dir()));
}

TEST_F(FetchPackageTest, ADownloadCutInTheMiddleLeavesNoFileUnderThePackageName) {
  server.cutAfter("/qe01/Software/RQV851CATV/HARD_A/programa_principal.bin", std::string(40000, 'b'), 10000);
  EXPECT_EQ(fetch(CATV, "a"), PackageOutcome::NoServer);
  EXPECT_FALSE(fs::exists(dir() / "RQV851CATV/HARD_A/programa_principal.bin"));
  EXPECT_TRUE(fs::is_empty(dir() / "RQV851CATV/HARD_A"));
}

TEST_F(FetchPackageTest, AZipReachingOutsideItsFolderWritesNothingThereAndFails) {
  serveZip("/qe01/Software/RQV638TIM/qeti6c.zip", {{"../evil", "bad"}, {"page0.tag", "p0"}});
  EXPECT_EQ(fetch(TIM, "c"), PackageOutcome::NotStored);
  EXPECT_FALSE(fs::exists(dir() / "RQV638TIM/evil"));
  EXPECT_FALSE(fs::exists(dir() / "qeti6c.zip"));
}

TEST_F(FetchPackageTest, ASuccessAnswerThatIsNoZipIsNotAPackage) {
  server.serve("/qe01/Software/RQV638TIMSK/qetiska.zip", "<html>maintenance</html>");
  EXPECT_EQ(fetch(TIMSK, "a"), PackageOutcome::NotStored);
  EXPECT_FALSE(fs::exists(dir() / "qetiska.zip"));
}

}  // namespace
}  // namespace kad::online
