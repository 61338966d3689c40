#include "data/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "data/language_location.h"
#include "data/language_names.h"
#include "data/table_columns.h"
#include "temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Stands in for the desktop windows: every known window and component holding
// its built-in texts, walked the way the views walk their widgets.
class FakeWindows {
 public:
  using Slot = std::tuple<std::string, std::string, TextRole>;

  FakeWindows() {
    for (const KnownWindow& w : KnownWindows()) {
      texts_[{w.Name, "", TextRole::Caption}] = w.Caption;
      for (const KnownComponent& c : w.Components) {
        texts_[{w.Name, c.Name, TextRole::Caption}] = c.Caption;
        texts_[{w.Name, c.Name, TextRole::Hint}] = c.Hint;
      }
    }
  }

  WindowWalk Walk() {
    return [this](const TextLookup& lookup) {
      for (auto& [slot, text] : texts_) {
        const auto& [window, component, role] = slot;
        if (auto replaced = lookup({window, component, role, !text.empty()})) text = *replaced;
      }
    };
  }

  const std::string& Text(const std::string& window, const std::string& component,
                          TextRole role = TextRole::Caption) const {
    return texts_.at({window, component, role});
  }
  // The slots whose text differs from another set of windows.
  std::vector<Slot> Changed(const FakeWindows& before) const {
    std::vector<Slot> changed;
    for (const auto& [slot, text] : texts_)
      if (before.texts_.at(slot) != text) changed.push_back(slot);
    return changed;
  }

 private:
  std::map<Slot, std::string> texts_;
};

std::string ShippedFile(const std::string& name) {
  return std::string(PLUMGR_SOURCE_DIR) + "/lang/" + name;
}

// Applies the file's bytes to fresh windows and texts.
struct Applied {
  FakeWindows Windows;
  DisplayTexts Texts = DefaultDisplayTexts(',');
};

Applied Apply(const LanguageFile& file) {
  Applied applied;
  EXPECT_TRUE(ApplyLanguage(file, applied.Windows.Walk(), applied.Texts));
  return applied;
}

void ExpectDefaultTexts(const DisplayTexts& texts) {
  const DisplayTexts defaults = DefaultDisplayTexts(',');
  EXPECT_EQ(texts.PluTitles.Entries, defaults.PluTitles.Entries);
  EXPECT_EQ(texts.DeptTitles.Entries, defaults.DeptTitles.Entries);
  EXPECT_EQ(texts.RecyTitles.Entries, defaults.RecyTitles.Entries);
  EXPECT_EQ(texts.FastTitles.Entries, defaults.FastTitles.Entries);
  EXPECT_EQ(texts.DownloadKindNames.Entries, defaults.DownloadKindNames.Entries);
  EXPECT_EQ(texts.UploadKindNames.Entries, defaults.UploadKindNames.Entries);
  EXPECT_EQ(texts.ProgressTexts.Connect, defaults.ProgressTexts.Connect);
  EXPECT_EQ(texts.ProgressTexts.Disconnect, defaults.ProgressTexts.Disconnect);
  EXPECT_EQ(texts.ProgressTexts.Download, defaults.ProgressTexts.Download);
  EXPECT_EQ(texts.ProgressTexts.Upload, defaults.ProgressTexts.Upload);
  EXPECT_EQ(texts.ProgressTexts.ReportNotClear, defaults.ProgressTexts.ReportNotClear);
  EXPECT_EQ(texts.ProgressTexts.Compare, defaults.ProgressTexts.Compare);
}

TEST(LanguageFileTest, WithoutAFileEveryTextStaysBuiltIn) {
  TempDir dir;
  LanguageReadResult read = LanguageFile::Read(dir.File("plumgr.LNG"));
  ASSERT_TRUE(read.Ok) << "a missing language file is no error";
  Applied applied = Apply(read.File);
  EXPECT_TRUE(applied.Windows.Changed(FakeWindows()).empty());
  ExpectDefaultTexts(applied.Texts);
}

TEST(LanguageFileTest, PluTitleTwoRenamesTheNameColumnAndItsExportHeaderOnly) {
  Applied applied = Apply(LanguageFile::Parse("[PLU Titles]\r\n2=Nazwa\r\n"));
  EXPECT_EQ(applied.Texts.PluTitles.Entries[2], "Nazwa");
  DisplayTexts expected = DefaultDisplayTexts(',');
  expected.PluTitles.Entries[2] = "Nazwa";
  EXPECT_EQ(applied.Texts.PluTitles.Entries, expected.PluTitles.Entries);
  applied.Texts.PluTitles.Entries[2] = "Name";
  ExpectDefaultTexts(applied.Texts);
  EXPECT_TRUE(applied.Windows.Changed(FakeWindows()).empty()) << "no window text changes";
}

TEST(LanguageFileTest, EmptyTextsAreNeverLookedUpButSeparatorsAre) {
  const LanguageFile file = LanguageFile::Parse(
      "[ParaDlg]\r\nGroupBox1.Caption=Ogolne\r\n"  // a group built without a caption
      "[MainForm]\r\nPLUGrid.Caption=X\r\n"        // a grid has no text
      "NewItem.Hint=Nowy plik\r\n"                 // a menu item without a hint
      "N3.Caption=--\r\nsaveitem.caption=&Zapisz\r\n"
      "[ProgressForm]\r\nCaption=Postep\r\n");  // set by every status
  Applied applied = Apply(file);
  const std::vector<FakeWindows::Slot> changed = applied.Windows.Changed(FakeWindows());
  const std::vector<FakeWindows::Slot> expected = {
      {"MainForm", "N3", TextRole::Caption},
      {"MainForm", "SaveItem", TextRole::Caption},
  };
  EXPECT_EQ(std::set(changed.begin(), changed.end()), std::set(expected.begin(), expected.end()));
  EXPECT_EQ(applied.Windows.Text("MainForm", "N3"), "--");
  EXPECT_EQ(applied.Windows.Text("MainForm", "SaveItem"), "&Zapisz") << "names ignore case";
  EXPECT_EQ(file.UnknownKeys(),
            (std::vector<std::string>{"[ParaDlg] GroupBox1.Caption", "[MainForm] PLUGrid.Caption",
                                      "[MainForm] NewItem.Hint", "[MainForm] saveitem.caption",
                                      "[ProgressForm] Caption"}));
}

TEST(LanguageFileTest, TitlesKindNamesAndProgressTextsComeFromTheirSections) {
  const LanguageFile file = LanguageFile::Parse(
      "[Deptment Titles]\r\n3=Cena\r\n[Recy Titles]\r\n1=Kaucja\r\n[Fast Titles]\r\n2=Znak\r\n"
      "[DownloadItem Tips]\r\n6=Naglowek\r\n[UploadItem Tips]\r\n4=parametry\r\n"
      "[String]\r\nConnect=Laczenie\r\nDownload=Wysylanie:\r\nCompare=Porownanie:\r\n"
      "[PLU Titles]\r\n10=Za duzo\r\n");
  Applied applied = Apply(file);
  EXPECT_EQ(applied.Texts.DeptTitles.Entries[3], "Cena");
  EXPECT_EQ(applied.Texts.RecyTitles.Entries[1], "Kaucja");
  EXPECT_EQ(applied.Texts.FastTitles.Entries[2], "Znak");
  EXPECT_EQ(applied.Texts.DownloadKindNames.Entries[6], "Naglowek");
  EXPECT_EQ(applied.Texts.UploadKindNames.Entries[4], "parametry");
  EXPECT_EQ(applied.Texts.ProgressTexts.Connect, "Laczenie");
  EXPECT_EQ(applied.Texts.ProgressTexts.Download, "Wysylanie:");
  EXPECT_EQ(applied.Texts.ProgressTexts.Disconnect, "Disconnect");
  EXPECT_EQ(applied.Texts.ProgressTexts.Compare, "Compare:") << "the compare prefix has no key";
  EXPECT_EQ(applied.Texts.PluTitles.Entries.size(), 10u);
  EXPECT_EQ(file.UnknownKeys(), (std::vector<std::string>{"[String] Compare", "[PLU Titles] 10"}));
}

TEST(LanguageFileTest, ShippedFilesNameOnlyKnownTextsAndPolishCoversEveryOne) {
  const LanguageReadResult en = LanguageFile::Read(ShippedFile("en.LNG"));
  const LanguageReadResult pl = LanguageFile::Read(ShippedFile("pl.LNG"));
  ASSERT_TRUE(en.Ok && pl.Ok);
  EXPECT_EQ(en.File.UnknownKeys(), std::vector<std::string>{});
  EXPECT_EQ(pl.File.UnknownKeys(), std::vector<std::string>{});

  // The English file is the built-in texts themselves.
  Applied english = Apply(en.File);
  EXPECT_TRUE(english.Windows.Changed(FakeWindows()).empty());
  ExpectDefaultTexts(english.Texts);

  // Every text the English file gives, the Polish file gives too, and every
  // built-in text is in the English file.
  std::set<std::pair<std::string, std::string>> en_keys, pl_keys;
  for (const auto& entry : en.File.Document().KeyEntries())
    en_keys.insert({entry.Section, entry.Key});
  for (const auto& entry : pl.File.Document().KeyEntries())
    pl_keys.insert({entry.Section, entry.Key});
  EXPECT_EQ(pl_keys, en_keys);
  size_t built_in = 0;
  for (const KnownWindow& w : KnownWindows()) {
    built_in += w.Caption.empty() ? 0 : 1;
    for (const KnownComponent& c : w.Components)
      built_in += (c.Caption.empty() ? 0 : 1) + (c.Hint.empty() ? 0 : 1);
  }
  const size_t title_and_progress_keys = 10 + 4 + 2 + 3 + 7 + 5 + 5 + 5;
  EXPECT_EQ(en_keys.size(), built_in + title_and_progress_keys);

  // Polish in the code page's bytes, CR LF lines.
  Applied polish = Apply(pl.File);
  EXPECT_EQ(polish.Texts.PluTitles.Entries[4], "Dzia\xB3");
  EXPECT_EQ(polish.Windows.Text("MainForm", "OpenItem"), "&Otw\xF3rz...");
  EXPECT_EQ(polish.Windows.Text("MainForm", "NewBtn", TextRole::Hint), "Nowy");
  EXPECT_EQ(polish.Windows.Text("MainForm", "N1"), "-");
  const std::string bytes = ReadBytes(ShippedFile("pl.LNG"));
  EXPECT_EQ(bytes.find("\xC5\x82"), std::string::npos) << "no UTF-8 letters";
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
    ASSERT_EQ(bytes[at - 1], '\r') << "at byte " << at;
}

TEST(LanguageFileTest, FoundBesideTheProgramOrElseInTheConfigurationDirectory) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("bin"));
  const LanguageLocationInput input{dir.File("bin/plumgr"), dir.File("config"), dir.File("home")};
  EXPECT_EQ(LocateLanguageFile(input), dir.File("config/plumgr/plumgr.LNG"));
  EXPECT_EQ(LocateLanguageFile({dir.File("bin/plumgr"), "relative", dir.File("home")}),
            dir.File("home/.config/plumgr/plumgr.LNG"));
  WriteBytes(dir.File("bin/plumgr.LNG"), "[MainForm]\r\n");
  EXPECT_EQ(LocateLanguageFile(input), dir.File("bin/plumgr.LNG"));
  EXPECT_EQ(LanguageFileBeside("/opt/pos/plumgr.bin"), "/opt/pos/plumgr.LNG");

  // A file that exists but cannot be read keeps the built-in texts and says so.
  LanguageReadResult read = LanguageFile::Read(dir.Path());
  EXPECT_FALSE(read.Ok);
  EXPECT_FALSE(read.Message.empty());
  Applied applied = Apply(read.File);
  ExpectDefaultTexts(applied.Texts);
}

// Installed from the package, the program has no file of its own: the one of
// the user's language comes from share/plumgr/lang beside its bin folder, and
// a file the user keeps wins over it.
TEST(LanguageFileTest, AnInstalledProgramTakesTheFileOfTheUsersLanguage) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("usr/bin"));
  std::filesystem::create_directories(dir.File("usr/share/plumgr/lang"));
  WriteBytes(dir.File("usr/share/plumgr/lang/pl.LNG"), "[MainForm]\r\n");
  const LanguageLocationInput input{dir.File("usr/bin/plumgr"), dir.File("config"), ""};
  EXPECT_EQ(LocateLanguageFile(input, "pl_PL.UTF-8"), dir.File("usr/share/plumgr/lang/pl.LNG"));
  EXPECT_EQ(LocateLanguageFile(input, "C"), dir.File("config/plumgr/plumgr.LNG"));
  std::filesystem::create_directories(dir.File("config/plumgr"));
  WriteBytes(dir.File("config/plumgr/plumgr.LNG"), "[MainForm]\r\n");
  EXPECT_EQ(LocateLanguageFile(input, "pl"), dir.File("config/plumgr/plumgr.LNG"));
}

}  // namespace
}  // namespace plumgr
