#include "plugin/report_search.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::TTempDir;
using test::WriteFileBytes;

const std::string kFile = "C:\\IN\\ATT.EXE";
const std::string kTag = "FOUND THE";

class ReportSearchTest : public ::testing::Test {
 protected:
  std::optional<TReportMatch> Search(const std::string& report, const std::string& upperTag = kTag,
                                     const std::string& file = kFile) {
    WriteFileBytes(path_, report);
    return SearchReport(path_, file, upperTag, sys::AnsiUpperTable());
  }
  TTempDir dir_;
  std::string path_ = dir_ / "ATT.~tv";
};

TEST_F(ReportSearchTest, LineMustBeginWithThePathAndCarryTheTagInAnyCase) {
  auto m = Search("c:\\in\\att.exe ... found the EICAR test file NOT a virus.\r\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line, "c:\\in\\att.exe ... found the EICAR test file NOT a virus.");
  EXPECT_EQ(m->TagPosition, 19u);
}

TEST_F(ReportSearchTest, OtherPathOrMissingTagDoesNotMatch) {
  EXPECT_FALSE(Search("C:\\IN\\OTHER.EXE ... Found the EICAR\r\nC:\\IN\\ATT.EXE ... is OK.\r\n"));
  EXPECT_FALSE(Search("xC:\\IN\\ATT.EXE ... Found the EICAR\r\n"));
  EXPECT_FALSE(Search("C:\\IN\\ATT.EX\r\n"));  // shorter than the path
  EXPECT_FALSE(Search(""));
}

TEST_F(ReportSearchTest, FirstOfTwoMatchingLinesIsTaken) {
  auto m = Search("C:\\IN\\ATT.EXE\\a.com Found the first\r\nC:\\IN\\ATT.EXE\\b.com Found the second\r\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line, "C:\\IN\\ATT.EXE\\a.com Found the first");
}

TEST_F(ReportSearchTest, TagBeforeThePathOnAnotherLineIsNotMixedUp) {
  // The tag's first line fails on its path; the search must go on to the
  // next line and report that line's own tag position.
  auto m = Search("Found the x C:\\IN\\ATT.EXE\nC:\\IN\\ATT.EXE Found the y Found the z\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line, "C:\\IN\\ATT.EXE Found the y Found the z");
  EXPECT_EQ(m->TagPosition, 15u);
}

TEST_F(ReportSearchTest, AnyLineEndSeparatesLines) {
  for (const std::string eol : {"\r\n", "\r", "\n", "\n\r", "\r\r\n\n"}) {
    SCOPED_TRACE(testing::PrintToString(eol));
    auto m = Search("C:\\IN\\ATT.EXE is OK." + eol + "C:\\IN\\ATT.EXE Found the V" + eol + "tail");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Line, "C:\\IN\\ATT.EXE Found the V");
  }
  auto last = Search("C:\\IN\\ATT.EXE Found the V");  // no line end at all
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Line, "C:\\IN\\ATT.EXE Found the V");
}

TEST_F(ReportSearchTest, NulEndsTheText) {
  EXPECT_FALSE(Search(std::string("C:\\IN\\ATT.EXE is OK.\r\n\0C:\\IN\\ATT.EXE Found the V\r\n", 46)));
  auto cut = Search(std::string("C:\\IN\\ATT.EXE Found the V\0and more\r\n", 36));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->Line, "C:\\IN\\ATT.EXE Found the V");
  // The tag must not be found across the NUL either.
  EXPECT_FALSE(Search(std::string("C:\\IN\\ATT.EXE Found\0 the V\r\n", 28)));
}

TEST_F(ReportSearchTest, EmptyTagNeverOccurs) {
  EXPECT_FALSE(Search("C:\\IN\\ATT.EXE Found the V\r\n", ""));
}

TEST_F(ReportSearchTest, TagWithALineEndNeverOccurs) {
  EXPECT_FALSE(Search("C:\\IN\\ATT.EXE Found\r\nthe V\r\n", "FOUND\r\nTHE"));
}

TEST_F(ReportSearchTest, NonAsciiLettersCompareUpperCased) {
  const std::string file = "C:\\IN\\\xC4RGER.EXE";  // Ä
  auto m = Search(
      "c:\\in\\\xE4rger.exe \xFC"
      "berfall Found the X\r\n",
      kTag, file);  // ä, ü
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line,
            "c:\\in\\\xE4rger.exe \xFC"
            "berfall Found the X");
  auto t = Search("C:\\IN\\ATT.EXE gef\xFCnden: X\r\n", "GEF\xDCNDEN:");  // ü / Ü
  ASSERT_TRUE(t);
  EXPECT_EQ(t->TagPosition, 15u);
}

TEST_F(ReportSearchTest, LinesLongerThanTheReadBufferAreWhole) {
  const std::string longOk = "C:\\IN\\ATT.EXE " + std::string(3 << 20, 'x') + " is OK.";
  const std::string hit = "C:\\IN\\ATT.EXE " + std::string(1 << 20, 'y') + " Found the V";
  auto m = Search(longOk + "\r\n" + hit + "\r\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line, hit);
  EXPECT_EQ(m->TagPosition, 14u + (1u << 20) + 2u);
}

TEST_F(ReportSearchTest, LinesAcrossBufferBoundariesAreFound) {
  // Many short lines so that matching lines straddle the buffer's refills,
  // including a CR LF pair split between two reads.
  const std::string other = "C:\\IN\\OTHER.EXE Found the X\r\n";
  std::string report;
  while (report.size() + other.size() < (1u << 20) - 1) report += other;
  report.append((1u << 20) - 1 - report.size(), 'p');
  report += "\r\nC:\\IN\\ATT.EXE Found the V\r\n";
  auto m = Search(report);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Line, "C:\\IN\\ATT.EXE Found the V");
}

TEST_F(ReportSearchTest, UnreadableReportRaisesTheOpenError) {
  const std::string missing = dir_ / "missing.~tv";
  try {
    SearchReport(missing, kFile, kTag, sys::AnsiUpperTable());
    FAIL() << "no error raised";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Datei " + missing +
                               " kann nicht ge\xF6"
                               "ffnet werden");
  }
  dir_.MakeSubdir("folder.~tv");
  EXPECT_THROW(SearchReport(dir_ / "folder.~tv", kFile, kTag, sys::AnsiUpperTable()), EFOpenError);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// The plain definition, line by line, to check the skipping search against.
std::optional<TReportMatch> NaiveSearch(const std::string& text, const std::string& file,
                                        const std::string& upperTag) {
  const auto upper = sys::AnsiUpperTable();
  auto up = [&](std::string s) {
    for (char& c : s) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
    return s;
  };
  std::string body = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  while (pos < body.size()) {
    std::size_t end = body.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = body.size();
    std::string line = body.substr(pos, end - pos);
    std::size_t at = upperTag.empty() ? std::string::npos : up(line).find(upperTag);
    if (at != std::string::npos && line.size() >= file.size() && up(line.substr(0, file.size())) == up(file))
      return TReportMatch{line, at + 1};
    pos = end;
    if (pos < body.size() && body[pos] == '\r') ++pos;
    if (pos < body.size() && body[pos] == '\n') ++pos;
  }
  return std::nullopt;
}

TEST_F(ReportSearchTest, AgreesWithTheLineByLineDefinitionOnRandomReports) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  const char alphabet[] = "abAB\r\n\0 xX";
  for (int round = 0; round < 1500; ++round) {
    std::string text;
    const std::size_t length = next() % 200;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[next() % (sizeof alphabet - 1)];
    const std::string tag = std::string("AB ").substr(0, 1 + next() % 3);
    const std::string file = std::string("ab").substr(0, next() % 3);
    SCOPED_TRACE(testing::PrintToString(text) + " tag " + tag + " file " + file);
    auto expected = NaiveSearch(text, file, tag);
    auto actual = Search(text, tag, file);
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
      EXPECT_EQ(actual->Line, expected->Line);
      EXPECT_EQ(actual->TagPosition, expected->TagPosition);
    }
  }
}

}  // namespace
}  // namespace tv
