#include "tests/support/TTestFolder.h"

#include "config/TIniFile.h"
#include "config/TViewerError.h"

#include <gtest/gtest.h>

TEST(TIniFile, ReadsKeysIgnoringLetterCaseAndBlanksAroundNames) {
  TIniFile file = TIniFile::FromText("x.ini", "[Config]\r\n  Width = 640\r\nname=\"  quoted  \"\r\n");
  EXPECT_EQ(file.ReadInteger("config", "WIDTH", 1), 640);
  EXPECT_EQ(file.ReadString("Config", "Name", ""), "  quoted  ");
  EXPECT_EQ(file.ReadString("Config", "missing", "dflt"), "dflt");
  EXPECT_EQ(file.ReadString("Other", "Width", "dflt"), "dflt");
}

TEST(TIniFile, CutsLongValuesAt2047Characters) {
  std::string value(3000, 'v');
  TIniFile file = TIniFile::FromText("x.ini", "[S]\nKey=" + value + "\n");
  EXPECT_EQ(file.ReadString("S", "Key", ""), value.substr(0, 2047));
}

TEST(TIniFile, ParsesIntegersInDecimalAndHexadecimal) {
  struct Case {
    const char* Text;
    std::optional<int> Value;
  };
  const Case cases[] = {{"400", 400},       {"-12", -12},       {"+7", 7},       {"0x190", 400},   {"0X1a", 26},
                        {"$190", 400},      {"$FFFFFFFF", -1},  {"", {}},        {"yes", {}},      {"12a", {}},
                        {"0x", {}},         {"2147483648", {}}, {"-2147483648", -2147483647 - 1}, {" 5 ", 5},
                        {"1.5", {}}};
  for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.Text), c.Value) << c.Text;
}

TEST(TIniFile, WritingAKeyKeepsEveryOtherLine) {
  TIniFile file = TIniFile::FromText("x.ini",
                                     "; my comment\r\n[Config]\r\nWidth=1\r\nKeep=me\r\n\r\n[Mine]\r\nA=b\r\n");
  file.WriteString("Config", "width", "2");
  file.WriteString("Config", "New", "3");
  file.WriteString("Fresh", "K", "v");
  EXPECT_EQ(file.Text(),
            "; my comment\r\n[Config]\r\nwidth=2\r\nKeep=me\r\nNew=3\r\n\r\n[Mine]\r\nA=b\r\n[Fresh]\r\nK=v\r\n");
}

TEST(TIniFile, ValuesComeBackExactlyAsWritten) {
  for (const std::string value : {"  <tr>", "\tTAB", "\"quoted\"", "\"", "a=b", "trailing ", "", "x\"y"}) {
    TIniFile file = TIniFile::FromText("x.ini", "");
    file.WriteString("S", "K", value);
    TIniFile again = TIniFile::FromText("x.ini", file.Text());
    EXPECT_EQ(again.ReadString("S", "K", "?"), value) << value;
  }
}

TEST(TIniFile, ListsSectionsAndKeysInFileOrderAndErasesSections) {
  TIniFile file = TIniFile::FromText("x.ini", "[B]\nz=1\na=2\n[A]\nk=3\n[b]\nm=4\n");
  EXPECT_EQ(file.ReadSections(), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(file.ReadSectionKeys("B"), (std::vector<std::string>{"z", "a"}));
  file.EraseSection("b");
  EXPECT_EQ(file.ReadSections(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(file.ReadString("B", "z", "gone"), "gone");
}

TEST(TIniFile, UpdatesTheFileOnDiskAndKeepsLineBreakStyle) {
  TTestFolder folder;
  folder.Write("a.ini", "[S]\nA=1\n");
  TIniFile file(folder.File("a.ini"));
  file.WriteString("S", "B", "2");
  file.UpdateFile();
  EXPECT_EQ(folder.Read("a.ini"), "[S]\nA=1\nB=2\n");
}

TEST(TIniFile, MissingFileReadsAsEmpty) {
  TIniFile file("/nonexistent/folder/x.ini");
  EXPECT_EQ(file.ReadString("S", "K", "d"), "d");
  EXPECT_TRUE(file.ReadSections().empty());
  EXPECT_THROW(file.UpdateFile(), TViewerError);
}

TEST(TIniFile, ReadsPastAByteOrderMarkAndKeepsIt) {
  TIniFile file = TIniFile::FromText("x.ini", "\xEF\xBB\xBF[Config]\r\nWidth=640\r\n");
  EXPECT_EQ(file.ReadInteger("Config", "Width", 0), 640);
  file.WriteInteger("Config", "Width", 800);
  EXPECT_EQ(file.Text(), "\xEF\xBB\xBF[Config]\r\nWidth=800\r\n");
}

TEST(TIniFile, ReadAndWrittenBackUnchangedKeepsEveryByte) {
  const char* texts[] = {
      "[S]\na=1\nb=2\n",
      "[S]\r\na=1\r\nb=2\r\n",
      "[S]\ra=1\rb=2\r",
      "[S]\na=1\nb=2",
      "[S]\na=1\nb=2\r\r\n",
      "[S]\na=1\r\nb=2\rc=3\n\n\n",
      "\xEF\xBB\xBF; comment\n[S]\n  a = spaced  \n\"q\"=x\n[T]",
      "",
      "no section at all",
  };
  for (const char* text : texts) {
    TIniFile file = TIniFile::FromText("x.ini", text);
    EXPECT_EQ(file.Text(), text) << text;
    // Writing a key its own value changes nothing either.
    if (file.Find("S", "a")) {
      file.WriteString("S", "A", *file.Find("S", "a"));
      EXPECT_EQ(file.Text(), text) << text;
    }
  }
}

TEST(TIniFile, LoneCarriageReturnsEndLinesToo) {
  TIniFile file = TIniFile::FromText("x.ini", "[S]\ra=1\rb=2");
  EXPECT_EQ(file.ReadString("S", "a", ""), "1");
  EXPECT_EQ(file.ReadString("S", "b", ""), "2");
  // New lines take the file's own break, and the last line gets one.
  file.WriteString("S", "c", "3");
  EXPECT_EQ(file.Text(), "[S]\ra=1\rb=2\rc=3\r");
  file.WriteString("S", "a", "9");
  EXPECT_EQ(file.Text(), "[S]\ra=9\rb=2\rc=3\r");
}

TEST(TIniFile, UnchangedFileOnDiskKeepsEveryByte) {
  TTestFolder folder;
  const std::string text = "[Config]\nWidth=640\r\n; note\r\rLast=line\r\r\n";
  folder.Write("Config.ini", text);
  TIniFile file(folder.File("Config.ini"));
  file.UpdateFile();
  EXPECT_EQ(folder.Read("Config.ini"), text);
}
