// The INI layer reads and edits files the way the Windows private-profile
// functions do, and keeps every line it does not edit byte for byte.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/ini_document.h"
#include "data/ini_file.h"
#include "temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniDocumentRead, TrimsNamesAndValuesAndIgnoresCase) {
  IniDocument doc = IniDocument::Parse(
      "  [ Comm ]  \r\n\tPrint Speed = 3 \r\n-% rate=12.50\r\nTax-free=\t7\x1A\r\n");
  EXPECT_EQ(doc.ReadString("comm", "PRINT SPEED", "x"), "3");
  EXPECT_EQ(doc.ReadString("COMM", "-% RATE", "x"), "12.50");
  EXPECT_EQ(doc.ReadInteger("Comm", "tax-free", 0), 7);
  EXPECT_EQ(doc.ReadString("Comm", "Missing", "dflt"), "dflt");
  EXPECT_EQ(doc.ReadString("Other", "Print Speed", "dflt"), "dflt");
}

TEST(IniDocumentRead, FirstOfEqualSectionsAndKeysWins) {
  IniDocument doc = IniDocument::Parse(
      "[A]\r\nk=first\r\nK=second\r\n[B]\r\nk=b\r\n[a]\r\nk=third\r\nonly=later\r\n");
  EXPECT_EQ(doc.ReadString("A", "k", ""), "first");
  // Only the first of two equal sections is searched.
  EXPECT_EQ(doc.ReadString("A", "only", "dflt"), "dflt");
}

TEST(IniDocumentRead, QuotesCommentsAndOddLines) {
  IniDocument doc = IniDocument::Parse(
      "top=before any section\r\n"
      "[S]\r\n"
      "dq=\"  padded  \"\r\n"
      "sq='x'\r\n"
      "mixed=\"x'\r\n"
      "lone=\"\r\n"
      "inner=a \"b\" c\r\n"
      "semi=5 ; not a comment\r\n"
      "; k=commented out\r\n"
      "  ;indented=also a comment\r\n"
      "no equals sign\r\n"
      "[broken\r\n"
      "after=still S\r\n"
      "empty=\r\n");
  EXPECT_EQ(doc.ReadString("S", "dq", ""), "  padded  ");
  EXPECT_EQ(doc.ReadString("S", "sq", ""), "x");
  EXPECT_EQ(doc.ReadString("S", "mixed", ""), "\"x'");
  EXPECT_EQ(doc.ReadString("S", "lone", ""), "\"");
  EXPECT_EQ(doc.ReadString("S", "inner", ""), "a \"b\" c");
  EXPECT_EQ(doc.ReadString("S", "semi", ""), "5 ; not a comment");
  EXPECT_EQ(doc.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_EQ(doc.ReadString("S", ";indented", "dflt"), "dflt");
  EXPECT_EQ(doc.ReadString("S", "no equals sign", "dflt"), "dflt");
  // A "[" line without "]" opens no section.
  EXPECT_EQ(doc.ReadString("S", "after", ""), "still S");
  EXPECT_EQ(doc.ReadString("S", "empty", "dflt"), "");
  EXPECT_FALSE(doc.HasSection(""));
}

TEST(IniDocumentRead, EveryLineEndAndAByteOrderMark) {
  for (const char* text : {"\xEF\xBB\xBF[S]\r\na=1\r\nb=2", "[S]\na=1\nb=2\n", "[S]\ra=1\rb=2\r",
                           "[S]\r\n\r\n\na=1\r\rb=2"}) {
    IniDocument doc = IniDocument::Parse(text);
    EXPECT_EQ(doc.ReadInteger("S", "a", 0), 1) << text;
    EXPECT_EQ(doc.ReadInteger("S", "b", 0), 2) << text;
  }
}

TEST(IniDocumentRead, IntegersMustBeWholeNumbers) {
  IniDocument doc = IniDocument::Parse(
      "[N]\r\nplain=42\r\nneg=-7\r\nplus=+3\r\nquoted=\"5\"\r\nfrac=1.5\r\ntail=12abc\r\n"
      "blank=\r\nsign=-\r\nbig=2147483648\r\nmax=2147483647\r\nmin=-2147483648\r\n"
      "huge=99999999999999999999999\r\n");
  EXPECT_EQ(doc.ReadInteger("N", "plain", 9), 42);
  EXPECT_EQ(doc.ReadInteger("N", "neg", 9), -7);
  EXPECT_EQ(doc.ReadInteger("N", "plus", 9), 3);
  EXPECT_EQ(doc.ReadInteger("N", "quoted", 9), 5);
  EXPECT_EQ(doc.ReadInteger("N", "max", 9), 2147483647);
  EXPECT_EQ(doc.ReadInteger("N", "min", 9), -2147483647 - 1);
  for (const char* key : {"frac", "tail", "blank", "sign", "big", "huge", "missing"})
    EXPECT_EQ(doc.ReadInteger("N", key, 9), 9) << key;
}

TEST(IniDocumentRead, BooleansAreIntegersAndNonzeroIsTrue) {
  IniDocument doc = IniDocument::Parse("[B]\nzero=0\none=1\nseven=7\nneg=-1\nword=true\n");
  EXPECT_FALSE(doc.ReadBool("B", "zero", true));
  EXPECT_TRUE(doc.ReadBool("B", "one", false));
  EXPECT_TRUE(doc.ReadBool("B", "seven", false));
  EXPECT_TRUE(doc.ReadBool("B", "neg", false));
  EXPECT_TRUE(doc.ReadBool("B", "word", true));
  EXPECT_FALSE(doc.ReadBool("B", "word", false));
}

TEST(IniDocumentWrite, CreatingFromNothingGivesOnlySectionAndKeyLines) {
  IniDocument doc;
  doc.WriteString("App1", "key1", "a");
  doc.WriteInteger("App2", "key2", -5);
  doc.WriteBool("App1", "key3", true);
  EXPECT_EQ(doc.Serialize(), "[App1]\r\nkey1=a\r\nkey3=1\r\n[App2]\r\nkey2=-5\r\n");
}

TEST(IniDocumentWrite, ReplacingAKeyLeavesEveryOtherByte) {
  const std::string before = std::string("\0junk\x01\r\n", 9) +
                             "; comment\r\n"
                             "\r\n"
                             "[Default]\n"
                             "  Print Speed = 3  \r\n"
                             "odd line\r"
                             "Lcd Dark=1\r\n"
                             "[Comm]\r\n"
                             "Port=2";
  IniDocument doc = IniDocument::Parse(before);
  ASSERT_EQ(doc.Serialize(), before);
  EXPECT_TRUE(doc.WriteInteger("DEFAULT", "print speed", 9));
  EXPECT_TRUE(doc.WriteInteger("comm", "PORT", 4));
  const std::string after = std::string("\0junk\x01\r\n", 9) +
                            "; comment\r\n"
                            "\r\n"
                            "[Default]\n"
                            "Print Speed=9\r\n"
                            "odd line\r"
                            "Lcd Dark=1\r\n"
                            "[Comm]\r\n"
                            "Port=4";
  EXPECT_EQ(doc.Serialize(), after);
}

TEST(IniDocumentWrite, WritingTheValueAlreadyThereChangesNothing) {
  const std::string before = "[S]\r\n  a =  1 \r\nq=\"x\"\r\n";
  IniDocument doc = IniDocument::Parse(before);
  EXPECT_FALSE(doc.WriteString("s", "A", "1"));
  EXPECT_FALSE(doc.WriteInteger("S", "a", 1));
  EXPECT_FALSE(doc.WriteString("S", "q", "x"));
  EXPECT_EQ(doc.Serialize(), before);
}

TEST(IniDocumentWrite, NewKeyGoesAfterTheLastKeyLineOfItsSection) {
  IniDocument doc =
      IniDocument::Parse("[A]\r\nk1=1\r\n; note\r\nk2=2\r\n; trailing note\r\n\r\n[B]\r\nb=1\r\n");
  doc.WriteString("a", "k3", "3");
  doc.WriteString("B", "c", "x");
  EXPECT_EQ(
      doc.Serialize(),
      "[A]\r\nk1=1\r\n; note\r\nk2=2\r\nk3=3\r\n; trailing note\r\n\r\n[B]\r\nb=1\r\nc=x\r\n");
}

TEST(IniDocumentWrite, NewKeyInASectionWithoutKeysFollowsItsHeader) {
  IniDocument doc = IniDocument::Parse("[A]\n; nothing here\n[B]");
  doc.WriteString("A", "k", "v");
  doc.WriteString("B", "k", "w");
  EXPECT_EQ(doc.Serialize(), "[A]\nk=v\r\n; nothing here\n[B]\r\nk=w\r\n");
}

TEST(IniDocumentWrite, NewSectionGoesAtTheEndAfterALineEnd) {
  IniDocument doc = IniDocument::Parse("[A]\r\nk=1");
  doc.WriteString("B", "x", "y");
  EXPECT_EQ(doc.Serialize(), "[A]\r\nk=1\r\n[B]\r\nx=y\r\n");

  IniDocument only_comment = IniDocument::Parse("; settings");
  only_comment.WriteString("S", "k", "v");
  EXPECT_EQ(only_comment.Serialize(), "; settings\r\n[S]\r\nk=v\r\n");
}

TEST(IniDocumentWrite, ValuesReadBackAsWritten) {
  IniDocument doc;
  for (const char* value :
       {"  centred  ", "\"quoted\"", "'single'", "\"", "a=b", "; x", "", "\t"}) {
    doc.WriteString("S", "k", value);
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("S", "k", "dflt"), value) << value;
  }
  // A line break would split the entry and could forge keys of its own.
  doc.WriteString("S", "k", "a\r\n[Comm]\r\nPort=9");
  IniDocument reread = IniDocument::Parse(doc.Serialize());
  EXPECT_EQ(reread.ReadString("S", "k", ""), "a  [Comm]  Port=9");
  EXPECT_FALSE(reread.HasSection("Comm"));
}

TEST(IniDocumentWrite, KeysBeforeTheFirstSectionAreNeverTouched) {
  IniDocument doc = IniDocument::Parse("k=top\r\n[S]\r\n");
  doc.WriteString("S", "k", "v");
  EXPECT_EQ(doc.Serialize(), "k=top\r\n[S]\r\nk=v\r\n");
}

TEST(IniDocumentHostile, HugeLinesAndNulBytesParseAndRoundTrip) {
  const std::string huge(10 * 1024 * 1024, '=');
  const std::string text = "[S]\r\nk=" + huge + "\r\n" + std::string("\0[\0]\0=\0\r", 9) + "\n\r";
  IniDocument doc = IniDocument::Parse(text);
  EXPECT_EQ(doc.Serialize(), text);
  EXPECT_EQ(doc.ReadString("S", "k", "").size(), huge.size() - 1 + 1);
  EXPECT_EQ(doc.ReadInteger("S", "k", 5), 5);
  doc.WriteString("S", "k", "1");
  EXPECT_EQ(doc.ReadInteger("S", "k", 5), 1);

  const std::string line_ends(10 * 1024 * 1024, '\n');
  IniDocument blank = IniDocument::Parse(line_ends);
  blank.WriteString("S", "k", "v");
  EXPECT_EQ(blank.Serialize(), line_ends + "[S]\r\nk=v\r\n");
}

class IniFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_.File("SYSTEM.CFG");
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
  IniFile file(path_);
  EXPECT_EQ(file.ReadInteger("Comm", "Port", 2), 2);
  EXPECT_EQ(file.ReadString("Version", "CompanyName", ""), "");
  EXPECT_FALSE(file.ReadBool("Default", "Flag00", false));
  ASSERT_TRUE(file.WriteInteger("Comm", "Port", 3));
  EXPECT_EQ(ReadBytes(path_), "[Comm]\r\nPort=3\r\n");
  EXPECT_EQ(file.ReadInteger("Comm", "Port", 2), 3);
  EXPECT_EQ(test::EntryCount(dir_.Path()), 1);
}

TEST_F(IniFileTest, AFileWrittenByWindowsReadsAndStaysAsItWas) {
  const std::string windows =
      "[Version]\r\nCompanyName=Sklep \xA3\xF3\x64\xBC\r\n"
      "[Other]\r\nService=0\r\n"
      "[Comm]\r\nPort=1\r\nBaudRate=4\r\n"
      "[Default]\r\n-% rate=05,50\r\nHeader1=\"  SKLEP  \"\r\nFlag25=1\r\n";
  WriteBytes(path_, windows);
  IniFile file(path_);
  EXPECT_EQ(file.ReadString("Version", "CompanyName", ""), "Sklep \xA3\xF3\x64\xBC");
  EXPECT_EQ(file.ReadInteger("Comm", "BaudRate", 0), 4);
  EXPECT_EQ(file.ReadString("Default", "Header1", ""), "  SKLEP  ");
  EXPECT_TRUE(file.ReadBool("Default", "Flag25", false));
  ASSERT_TRUE(file.WriteInteger("Comm", "Port", 1));
  EXPECT_EQ(ReadBytes(path_), windows);
  ASSERT_TRUE(file.WriteString("Default", "Tail1", "Dziekujemy"));
  EXPECT_EQ(ReadBytes(path_), windows + "Tail1=Dziekujemy\r\n");
}

TEST_F(IniFileTest, UpdateMakesManyEditsInOneWrite) {
  IniFile file(path_);
  ASSERT_TRUE(file.Update([](IniDocument& doc) {
    doc.WriteString("Default", "VAT1", "23.00");
    doc.WriteString("Default", "VAT2", "08.00");
  }));
  EXPECT_EQ(ReadBytes(path_), "[Default]\r\nVAT1=23.00\r\nVAT2=08.00\r\n");
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotOverwritten) {
  std::filesystem::create_directory(path_);
  IniFile file(path_);
  EXPECT_EQ(file.ReadInteger("Comm", "Port", 2), 2);
  FileResult result = file.WriteInteger("Comm", "Port", 3);
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find(path_), std::string::npos) << result.Message;
  EXPECT_TRUE(std::filesystem::is_directory(path_));
  EXPECT_EQ(test::EntryCount(dir_.Path()), 1);
}

TEST_F(IniFileTest, OwnerOnlyFilesAreCreatedPrivateAndExistingModesKept) {
  ASSERT_TRUE(IniFile(path_, NewFileAccess::OwnerOnly).WriteInteger("Comm", "Port", 1));
  struct stat info {};
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  ::chmod(path_.c_str(), 0640);
  ASSERT_TRUE(IniFile(path_, NewFileAccess::OwnerOnly).WriteInteger("Comm", "Port", 2));
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(IniFileTest, WritingThroughASymbolicLinkKeepsTheLink) {
  std::string real = dir_.File("real.cfg");
  WriteBytes(real, "[Comm]\r\nPort=1\r\n");
  std::filesystem::create_symlink(real, path_);
  ASSERT_TRUE(IniFile(path_).WriteInteger("Comm", "Port", 4));
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(ReadBytes(real), "[Comm]\r\nPort=4\r\n");
}

}  // namespace
}  // namespace plumgr
