// The settings file's keys and defaults, and where the file lives.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "data/app_paths.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"
#include "temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class SettingsDefaults : public ::testing::TestWithParam<char> {};

TEST_P(SettingsDefaults, AnEmptyFileGivesEveryDefault) {
  const char sep = GetParam();
  const std::string zero = std::string("00") + sep + "00";
  IniDocument doc;
  Settings settings(doc, sep);
  EXPECT_EQ(settings.CompanyName(), "");
  EXPECT_EQ(settings.Service(), 0);
  EXPECT_EQ(settings.Port(), 2);
  EXPECT_EQ(settings.BaudRate(), 0);
  EXPECT_EQ(settings.TaxFree(), 8);
  EXPECT_EQ(settings.PrintSpeed(), 1);
  EXPECT_EQ(settings.LcdDark(), 1);
  EXPECT_EQ(settings.DiscountRate(), zero);
  EXPECT_EQ(settings.SurchargeRate(), zero);
  EXPECT_EQ(settings.ScaleBaudRate(), 0);
  for (int n = 1; n <= kVatRateCount; ++n)
    EXPECT_EQ(settings.VatRate(n), zero);
  for (int byte = 0; byte < kFlagBytes; ++byte)
    for (int bit = 0; bit < 8; ++bit)
      EXPECT_FALSE(settings.Flag(byte, bit));
  for (int n = 1; n <= kClerkCount; ++n) {
    EXPECT_EQ(settings.ClerkName(n), "");
    EXPECT_EQ(settings.ClerkPassword(n), "");
  }
  for (int n = 1; n <= kBarcodeTypeCount; ++n)
    EXPECT_EQ(settings.BarcodeType(n), 0);
  for (int n = 1; n <= kHeaderCount; ++n) {
    EXPECT_EQ(settings.Header(n), "");
    EXPECT_FALSE(settings.HeaderBold(n));
  }
  EXPECT_EQ(settings.Tail(1), "");
  EXPECT_EQ(settings.ComPortOverride(3), "");
  EXPECT_EQ(doc.Serialize(), "");
}

TEST_P(SettingsDefaults, TheKeyListAgreesWithTheAccessors) {
  const char sep = GetParam();
  std::vector<SettingKey> keys = AllSettingKeys(sep);
  EXPECT_EQ(keys.size(), 1u + 3 + 2 + 4 + 4 + 32 + 8 + 8 + 2 + 10 + 1 + 9 + 1 + 5 + 5);
  std::set<std::string> unique;
  for (const SettingKey& key : keys)
    unique.insert(std::string(key.Section) + "/" + key.Name);
  EXPECT_EQ(unique.size(), keys.size());

  // Writing every key's default and reading it back through the accessors changes nothing.
  IniDocument doc;
  for (const SettingKey& key : keys)
    doc.WriteString(key.Section, key.Name, key.Default);
  Settings settings(doc, sep);
  EXPECT_EQ(settings.Port(), kDefaultPort);
  EXPECT_EQ(settings.TaxFree(), kDefaultTaxFree);
  EXPECT_EQ(settings.BackupCount(), kDefaultBackupCount);
  EXPECT_EQ(settings.VatRate(9), ZeroRate(sep));
  EXPECT_TRUE(unique.count("Default/Flag37"));
  EXPECT_TRUE(unique.count("Default/BaudRate"));
  EXPECT_TRUE(unique.count("Comm/BaudRate"));
  EXPECT_TRUE(unique.count("Default/ClerkPWD8"));
  EXPECT_TRUE(unique.count("Default/BCode10"));
}

INSTANTIATE_TEST_SUITE_P(Separators, SettingsDefaults, ::testing::Values('.', ','));

TEST(Settings, ValuesWrittenReadBackUnderTheirOwnKeys) {
  IniDocument doc;
  Settings settings(doc, ',');
  settings.SetPort(4);
  settings.SetBaudRate(3);
  settings.SetScaleBaudRate(5);
  settings.SetFlag(3, 7, true);
  settings.SetFlag(2, 5, true);
  settings.SetDiscountRate("12,50");
  settings.SetHeader(1, "  SKLEP  ");
  settings.SetHeaderBold(1, true);
  settings.SetVatRate(1, "23,00");
  settings.SetTaxFree(0);
  settings.SetClerkPassword(8, "0042");
  IniDocument reread = IniDocument::Parse(doc.Serialize());
  Settings again(reread, ',');
  EXPECT_EQ(again.Port(), 4);
  EXPECT_EQ(again.BaudRate(), 3);
  EXPECT_EQ(again.ScaleBaudRate(), 5);
  EXPECT_TRUE(again.Flag(3, 7));
  EXPECT_TRUE(again.Flag(2, 5));
  EXPECT_FALSE(again.Flag(2, 4));
  EXPECT_EQ(again.DiscountRate(), "12,50");
  EXPECT_EQ(again.Header(1), "  SKLEP  ");
  EXPECT_TRUE(again.HeaderBold(1));
  EXPECT_EQ(again.VatRate(1), "23,00");
  EXPECT_EQ(again.TaxFree(), 0);
  EXPECT_EQ(again.ClerkPassword(8), "0042");
  EXPECT_NE(doc.Serialize().find("[Default]\r\n"), std::string::npos);
  EXPECT_NE(doc.Serialize().find("Flag37=1\r\n"), std::string::npos);
  EXPECT_NE(doc.Serialize().find("-% rate=12,50\r\n"), std::string::npos);
}

TEST(Settings, NumbersThatAreNotWholeGiveTheDefault) {
  IniDocument doc = IniDocument::Parse("[Comm]\r\nPort=COM3\r\n[Default]\r\nPrint Speed=2.5\r\n");
  Settings settings(doc, '.');
  EXPECT_EQ(settings.Port(), 2);
  EXPECT_EQ(settings.PrintSpeed(), 1);
}

class SettingsLocation : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string exe_dir_ = dir_.Path() + "/bin/";
  std::string home_ = dir_.Path() + "/home";
  void SetUp() override {
    std::filesystem::create_directories(exe_dir_);
    std::filesystem::create_directories(home_);
  }
};

TEST_F(SettingsLocation, TheCommandLineOverrideWins) {
  EXPECT_EQ(LocateSettingsFile({"/elsewhere/my.cfg", exe_dir_, "", home_}), "/elsewhere/my.cfg");
}

TEST_F(SettingsLocation, BesideAWritableExecutable) {
  EXPECT_EQ(LocateSettingsFile({"", exe_dir_, "", home_}), exe_dir_ + "SYSTEM.CFG");
}

TEST_F(SettingsLocation, BesideTheExecutableWhenTheFileIsAlreadyThere) {
  WriteBytes(dir_.File("bin/SYSTEM.CFG"), "");
  ::chmod(dir_.Path().c_str(), 0755);
  ::chmod(exe_dir_.c_str(), 0555);
  // Root writes to any directory, so the lookup runs as an ordinary user.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
    bool beside = ::access(exe_dir_.c_str(), W_OK) != 0 &&
                  LocateSettingsFile({"", exe_dir_, "", home_}) == exe_dir_ + "SYSTEM.CFG";
    ::_exit(beside ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(SettingsLocation, ConfigDirectoryWhenTheExecutableDirectoryIsNotWritable) {
  const std::string unwritable = dir_.Path() + "/missing/bin/";
  std::string xdg = dir_.Path() + "/xdg";
  EXPECT_EQ(LocateSettingsFile({"", unwritable, xdg, home_}), xdg + "/plumgr/SYSTEM.CFG");
  struct stat info {};
  ASSERT_EQ(::stat((xdg + "/plumgr").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_FALSE(std::filesystem::exists(xdg + "/plumgr/SYSTEM.CFG"));

  // A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
  EXPECT_EQ(LocateSettingsFile({"", unwritable, "relative/dir", home_}),
            home_ + "/.config/plumgr/SYSTEM.CFG");
  EXPECT_TRUE(std::filesystem::is_directory(home_ + "/.config/plumgr"));
}

TEST_F(SettingsLocation, TheProcessLocationFollowsTheEnvironment) {
  // The test binary's directory is writable here, so the file sits beside it.
  EXPECT_EQ(SettingsFilePath(), ExecutableDir() + "SYSTEM.CFG");
  EXPECT_EQ(SettingsFilePath("/tmp/x.cfg"), "/tmp/x.cfg");
}

TEST(SettingsFile, ACreatedSettingsFileIsReadableByItsOwnerOnly) {
  TempDir dir;
  const std::string path = dir.File("SYSTEM.CFG");
  ASSERT_TRUE(SettingsFile(path).Update([](IniDocument& doc) { Settings(doc, '.').SetPort(1); }));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(ReadBytes(path), "[Comm]\r\nPort=1\r\n");
}

}  // namespace
}  // namespace plumgr
