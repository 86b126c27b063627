#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace kad::platform {
namespace {

TEST(IniFile, MissingFileSectionAndKeyReadAsDefaults) {
  test::TempDir dir;
  IniFile ini(dir.path() / "none.ini");
  EXPECT_EQ(ini.readString("Config", "Unit", "dflt"), "dflt");
  EXPECT_EQ(ini.readInteger("Config", "Port", 7), 7);
  EXPECT_TRUE(ini.sections().empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.ini"));
}

TEST(IniFile, NamesAreCaseInsensitiveValuesAreNot) {
  test::TempDir dir;
  IniFile ini(dir.path() / "a.ini");
  ASSERT_TRUE(ini.writeString("Atualiza", "Automatico", "N?o"));
  EXPECT_EQ(ini.readString("ATUALIZA", "automatico", ""), "N?o");
  ASSERT_TRUE(ini.writeString("atualiza", "AUTOMATICO", "Sim"));
  EXPECT_EQ(ini.readString("Atualiza", "Automatico", ""), "Sim");
  EXPECT_EQ(ini.sections(), std::vector<std::string>{"Atualiza"});
}

TEST(IniFile, SectionsInFileOrderAndErase) {
  test::TempDir dir;
  const auto path = dir.path() / "k.ini";
  std::ofstream(path) << "[Zeta]\nDiretorio=/z\n[Config]\nPort=3\n[alpha]\nDiretorio=/a\n";
  IniFile ini(path);
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Zeta", "Config", "alpha"}));
  EXPECT_EQ(ini.readInteger("config", "port", 1), 3);
  ASSERT_TRUE(ini.eraseSection("ZETA"));
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Config", "alpha"}));
  EXPECT_TRUE(ini.sectionExists("Alpha"));
  EXPECT_FALSE(ini.sectionExists("Zeta"));
}

TEST(IniFile, IntegersThatAreNotNumbersReadAsDefault) {
  test::TempDir dir;
  const auto path = dir.path() / "n.ini";
  std::ofstream(path) << "[C]\na=12\nb=12x\nc=\nd=-4\ne=$1F\n";
  IniFile ini(path);
  EXPECT_EQ(ini.readInteger("C", "a", 0), 12);
  EXPECT_EQ(ini.readInteger("C", "b", 9), 9);
  EXPECT_EQ(ini.readInteger("C", "c", 9), 9);
  EXPECT_EQ(ini.readInteger("C", "d", 0), -4);
  EXPECT_EQ(ini.readInteger("C", "e", 0), 31);
}

TEST(IniFile, WritesReplaceTheFileWholeAndLeaveNoTemporary) {
  test::TempDir dir;
  const auto path = dir.path() / "w.ini";
  IniFile ini(path);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(ini.writeInteger("S", "k" + std::to_string(i), i));
  IniFile again(path);
  EXPECT_EQ(again.readInteger("S", "k19", -1), 19);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(IniFile, AWriteThatCannotLandIsReportedAndLeavesTheOldFile) {
  test::TempDir dir;
  const auto path = dir.path() / "x.ini";
  IniFile ini(path);
  ASSERT_TRUE(ini.writeString("S", "k", "old"));
  // A folder standing where the temporary file must go makes the write fail as a full disk would.
  std::filesystem::create_directory(path.string() + ".tmp" + std::to_string(::getpid()));
  EXPECT_FALSE(ini.writeString("S", "k", "new"));
  EXPECT_EQ(ini.readString("S", "k", ""), "old");
}

}  // namespace
}  // namespace kad::platform
