#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "upload/tp_packages.h"

namespace kad {
namespace {

TEST(TpPackageList, NamesFollowTheFirstCommaOfEachLine) {
  struct Case {
    const char* content;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"1,app_main\n", {"app_main"}},
      {"1,app_main\r\n2,lib,extra\r\n", {"app_main", "lib,extra"}},
      {"plain\n\n\r\n3,last", {"plain", "last"}},  // blank lines name nothing; no final line end
      {"", {}},
      {"1,\n", {""}},  // a line naming an empty package is kept, so the presence check fails
  };
  for (const auto& c : cases) EXPECT_EQ(parsePackageList(c.content), c.names) << c.content;
}

TEST(TpPackageList, PresenceFollowsTheUnitsProtocolVersion) {
  test::TempDir dir;
  const auto folder = dir.path();
  std::ofstream(folder / "packages.repository") << "1,app_main\n2,fonts\n";
  std::ofstream(folder / "app_main.package") << "x";
  std::ofstream(folder / "v14tp1A") << "y";

  TpPackageState state;
  state.unitProtocolVersion = 2;
  auto list = readPackageListFile(folder);
  ASSERT_TRUE(list);
  state.packages = *list;
  EXPECT_FALSE(packagesPresentIn(folder, state)) << "fonts.package is missing";
  std::ofstream(folder / "fonts.package") << "z";
  EXPECT_TRUE(packagesPresentIn(folder, state));

  state.packages = {};
  EXPECT_FALSE(packagesPresentIn(folder, state)) << "an empty list is not a set of packages";
  state.packages = {"../" + folder.filename().string() + "/app_main"};
  EXPECT_FALSE(packagesPresentIn(folder, state)) << "a name with a separator is no file of the folder";

  for (int version : {0, 1}) {
    TpPackageState old;
    old.unitProtocolVersion = version;
    old.packages = {"missing"};  // the list plays no part for an old unit
    old.oldUnitPackage = "v14tp1A";
    EXPECT_TRUE(packagesPresentIn(folder, old));
    old.oldUnitPackage = "UP5v6TP1A";
    EXPECT_FALSE(packagesPresentIn(folder, old));
  }

  EXPECT_FALSE(readPackageListFile(folder / "nowhere"));
}

TEST(TpPackageList, AFileTooBigToBeAListIsRefused) {
  test::TempDir dir;
  std::ofstream(dir.path() / "packages.repository") << std::string(kMaxPackageListBytes + 1, 'a');
  EXPECT_FALSE(readPackageListFile(dir.path()));
}

}  // namespace
}  // namespace kad
