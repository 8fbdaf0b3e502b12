// Guards the text routines every other subsystem builds on: the exact case
// folding table, path joining in all its forms, the "%s" formatter, the
// number texts and the strict integer parser, and that no routine writes past
// its buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/case_fold.h"
#include "text/command_line.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/number.h"
#include "text/path.h"
#include "text/text.h"

TEST(CaseFold, MapsExactlyTheListedBytes) {
  const unsigned char pairs[][2] = {
      {0x81, 0xDC}, {0x82, 0xC9}, {0x83, 0xC2}, {0x84, 0xC4}, {0x85, 0xC0}, {0x86, 0xC5}, {0x87, 0xC7},
      {0x88, 0xCA}, {0x89, 0xCB}, {0x8A, 0xC8}, {0x8B, 0xCF}, {0x8C, 0xCE}, {0x8D, 0xCC}, {0x91, 0xC6},
      {0x93, 0xD4}, {0x94, 0xD6}, {0x95, 0xD2}, {0x96, 0xDB}, {0x97, 0xD9}, {0x9B, 0xD8}, {0xA0, 0xC1},
      {0xA1, 0xCD}, {0xA2, 0xD3}, {0xA3, 0xDA}, {0xA4, 0xD1}, {0xC6, 0xC3}, {0xE4, 0xD5}, {0xEC, 0xDD},
  };
  unsigned char expected[256];
  for (int i = 0; i < 256; ++i) expected[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
  for (const auto& pair : pairs) expected[pair[0]] = pair[1];
  for (int i = 0; i < 256; ++i) EXPECT_EQ(kCaseFold.map[i], expected[i]) << "byte " << i;
}

TEST(CaseFold, ComparesIgnoringCase) {
  EXPECT_TRUE(EqualIgnoringCase("HELLO.EXE", "hello.exe"));
  EXPECT_TRUE(EqualIgnoringCase("\x84", "\xC4"));
  EXPECT_FALSE(EqualIgnoringCase("\xE0", "\xC0"));  // not in the table
  EXPECT_FALSE(EqualIgnoringCase("abc", "abcd"));
  EXPECT_TRUE(StartsWithIgnoringCase("C:\\Program Files\\X", "c:\\PROGRAM"));
  EXPECT_TRUE(StartsWithIgnoringCase("x", ""));
  EXPECT_FALSE(StartsWithIgnoringCase("ab", "abc"));
}

TEST(PathJoin, Forms) {
  struct Case {
    const char* folder;
    const char* name;
    const char* joined;
  };
  const Case cases[] = {
      {"C:\\", "a.txt", "C:\\a.txt"},
      {"", "a.txt", "a.txt"},
      {"C:\\Tools", "a.txt", "C:\\Tools\\a.txt"},
      {"C:\\Tools", "\\a.txt", "C:\\Tools\\a.txt"},
      {"C:\\Tools\\", "\\a.txt", "C:\\Tools\\\\a.txt"},
      {"C:", "x", "C:\\x"},
  };
  for (const Case& c : cases) {
    Text out;
    EXPECT_TRUE(PathJoin(out, c.folder, c.name));
    EXPECT_STREQ(out.c_str(), c.joined) << c.folder << " + " << c.name;

    Text in_name(c.name);  // joining a folder in front of a name, in place
    PathJoin(in_name, c.folder, in_name.c_str());
    EXPECT_STREQ(in_name.c_str(), c.joined);

    Text in_folder(c.folder);  // appending a name to a folder, in place
    PathJoin(in_folder, in_folder.c_str(), c.name);
    EXPECT_STREQ(in_folder.c_str(), c.joined);
  }
}

TEST(PathJoin, CutsAtTheBufferInsteadOfOverrunningIt) {
  char guard_before[8] = "GUARD01";
  FixedText<10> out;
  char guard_after[8] = "GUARD02";
  EXPECT_FALSE(PathJoin(out, "C:\\folder", "name.txt"));
  EXPECT_STREQ(out.c_str(), "C:\\folder\\");
  EXPECT_FALSE(PathJoin(out, "C:\\a-very-long-folder", "x"));
  EXPECT_STREQ(out.c_str(), "C:\\a-very-");
  EXPECT_STREQ(guard_before, "GUARD01");
  EXPECT_STREQ(guard_after, "GUARD02");
}

TEST(Paths, Parts) {
  struct Case {
    const char* path;
    const char* folder;
    const char* last;
    const char* bare;
  };
  const Case cases[] = {
      {"C:\\Tools\\app.tar.gz", "C:\\Tools", "app.tar.gz", "app"},
      {"C:\\Tools\\", "C:\\Tools", "Tools", "Tools"},
      {"readme", "", "readme", "readme"},
      {"C:", "", "C:", "C"},
      {"a.b", "", "a.b", "a"},
  };
  for (const Case& c : cases) {
    Text folder, last, bare;
    FolderPart(folder, c.path);
    LastComponent(last, c.path);
    EXPECT_EQ(NameWithoutExtension(bare, c.path), std::strlen(c.bare));
    EXPECT_STREQ(folder.c_str(), c.folder) << c.path;
    EXPECT_STREQ(last.c_str(), c.last) << c.path;
    EXPECT_STREQ(bare.c_str(), c.bare) << c.path;
  }
}

TEST(Format, Placeholders) {
  Text out;
  FormatOne(out, "File renamed: %s ->-> %s", "a");
  EXPECT_STREQ(out.c_str(), "File renamed: a ->-> %s");
  FormatOne(out, "100%% %d %s", "x");
  EXPECT_STREQ(out.c_str(), "100%% %d x");
  const char* two[] = {"a", "b"};
  FormatMany(out, "%s ->-> %s and %s", two, 2);
  EXPECT_STREQ(out.c_str(), "a ->-> b and %s");
  FormatOne(out, "ends with %", "x");
  EXPECT_STREQ(out.c_str(), "ends with %");
}

TEST(Format, CutsALongArgument) {
  std::string long_text(600, 'x');
  Text out;
  EXPECT_FALSE(FormatOne(out, "Error opening file: %s", long_text.c_str()));
  EXPECT_EQ(out.size(), 512u);
  EXPECT_TRUE(StartsWith(out.c_str(), "Error opening file: xxx"));
}

TEST(Text, CopyAppendQuoteLower) {
  Text out;
  EXPECT_TRUE(ConcatenateText(out, "abc", "def"));
  EXPECT_STREQ(out.c_str(), "abcdef");
  ConcatenateText(out, out.c_str(), "!");
  EXPECT_STREQ(out.c_str(), "abcdef!");
  QuoteText(out, "C:\\Program Files\\x.exe");
  EXPECT_STREQ(out.c_str(), "\"C:\\Program Files\\x.exe\"");
  char german[] =
      "\xC4RGER \xD6L \xDC"
      "BER Stra\xDF"
      "e";
  ToLowerGerman(german);
  EXPECT_STREQ(german,
               "\xE4rger \xF6l \xFC"
               "ber stra\xDF"
               "e");
  EXPECT_TRUE(StartsWith("abc", ""));
  EXPECT_FALSE(StartsWith("abc", "abd"));
}

TEST(Text, AppendLimitedKeepsTheLineWithin512) {
  Text line;
  line.Assign(std::string(490, 'a').c_str());
  EXPECT_EQ(AppendLimited(line, "\r\n"), 492u);
  line.Assign(std::string(511, 'a').c_str());
  EXPECT_EQ(AppendLimited(line, "\r\n"), 512u);
  EXPECT_EQ(line.c_str()[511], '\r');
  line.Assign(std::string(512, 'a').c_str());
  EXPECT_EQ(AppendLimited(line, "\r\n"), 512u);
}

TEST(Numbers, ToText) {
  Text out;
  EXPECT_EQ(DecimalText(out, 0), 1u);
  EXPECT_STREQ(out.c_str(), "0");
  EXPECT_EQ(DecimalText(out, 65535), 5u);
  out.Assign("Hello.exe,");
  AppendDecimal(out, 12);
  EXPECT_STREQ(out.c_str(), "Hello.exe,12");
  out.Clear();
  AppendPaddedDecimal(out, 999, 4);
  AppendPaddedDecimal(out, 5, 2);
  AppendPaddedDecimal(out, 2026, 2);
  EXPECT_STREQ(out.c_str(),
               "099905"
               "26");

  struct Case {
    int value;
    bool group;
    const char* text;
  };
  const Case cases[] = {
      {1234567, true, "1'234'567"},
      {-1000, true, "-1'000"},
      {999, true, "999"},
      {1234567, false, "1234567"},
      {-2147483647 - 1, true, "-2'147'483'648"},
      {0, true, "0"},
  };
  for (const Case& c : cases) {
    IntegerToText(out, c.value, c.group);
    EXPECT_STREQ(out.c_str(), c.text);
  }
  UnsignedToText(out, 4294967295u, true);
  EXPECT_STREQ(out.c_str(), "4'294'967'295");
}

TEST(Numbers, ParseInteger) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {" -2147483648 ", true, -2147483647 - 1},
      {"2147483647", true, 2147483647},
      {"2147483648", false, 0},
      {"\t- 12\t", true, -12},
      {"", false, 0},
      {"-", false, 0},
      {"  ", false, 0},
      {"12a", false, 0},
      {"0000000001", true, 1},
      {"00000000001", false, 0},
      {"+5", false, 0},
      {"1 2", false, 0},
  };
  for (const Case& c : cases) {
    int value = 77;
    EXPECT_EQ(ParseInteger(c.text, value), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(CommandLine, SplitsWordsAndQuotedRuns) {
  CommandLineWords words;
  SplitCommandLine("  \"C:\\Program Files\\x.exe\" a\tb \"\" \"open", words);
  ASSERT_EQ(words.count, 5u);
  const char* expected[] = {"C:\\Program Files\\x.exe", "a", "b", "", "open"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_STREQ(words.words[i].c_str(), expected[i]);
  SplitCommandLine("", words);
  EXPECT_EQ(words.count, 0u);
}
