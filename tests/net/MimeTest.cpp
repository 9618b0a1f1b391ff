#include <gtest/gtest.h>

#include "NetTestUtil.h"
#include "common/TestEnv.h"
#include "net/IcsMimeUtils.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

using nettest::Openssl;
using nettest::RandomBytes;

TEST(Base64, EncodeAndDecode) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"a", "YQ=="},
      {"ab", "YWI="},
      {"abc", "YWJj"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\0\xff\xfe", 3), "AP/+"},
  };
  for (const auto& [data, text] : cases) {
    EXPECT_EQ(EncodeBase64(data), text);
    EXPECT_EQ(DecodeBase64(text), data) << text;
  }
  for (std::size_t n : {1u, 2u, 3u, 100u, 4097u}) {
    const std::string data = RandomBytes(n, uint32_t(n));
    std::string expected = Openssl({"base64", "-A"}, data);
    expected = Trim(expected);
    EXPECT_EQ(EncodeBase64(data), expected) << n;
    EXPECT_EQ(DecodeBase64(expected), data) << n;
  }
}

TEST(Base64, DecodeSkipsLineBreaksAndRejectsForeignText) {
  EXPECT_EQ(DecodeBase64("YWJj\r\nZGVm\r\n"), "abcdef");
  EXPECT_EQ(DecodeBase64("\nYQ==\r\nYWI="), "aab");
  EXPECT_EQ(DecodeBase64("YQ==YWJj"), "aabc");  // a pad ends its own group only
  for (const char* bad : {"YW Jj", "YWJ", "YWJj\x80\x80\x80\x80", "YW\rJj", "=WJj", "Y=Jj", "YW=j",
                          "YWJ*", "YQ==Y", "YWJj-_8="}) {
    EXPECT_EQ(DecodeBase64(bad), "") << bad;
  }
}

TEST(Base64, EncodePartContinuesFromPosition) {
  const std::string data = "abcdefg";
  int pos = 1;
  std::string part;
  EncodeBase64Part(data, 4, pos, part);
  EXPECT_EQ(part, "YWJj");
  EXPECT_EQ(pos, 4);
  part.clear();
  EncodeBase64Part(data, 76, pos, part);
  EXPECT_EQ(part, "ZGVmZw==");
  EXPECT_EQ(pos, 10);
  part.clear();
  EncodeBase64Part(data, 76, pos, part);
  EXPECT_EQ(part, "");
}

TEST(Mime, ContentTypeAndUnsafeChars) {
  const std::pair<const char*, const char*> types[] = {
      {"index.htm", "text/html"},
      {"a.b.HTML", "text/html"},
      {"x.gif", "image/gif"},
      {"x.bmp", "image/bmp"},
      {"PHOTO.JPEG", "image/jpeg"},
      {"p.jpg", "image/jpeg"},
      {"read.TXT", "text/plain"},
      {"noextension", "application/octet-stream"},
      {"song.wav", "application/octet-stream"},
      {"trailingdot.", "application/octet-stream"},
  };
  for (const auto& [name, type] : types) EXPECT_EQ(ContentTypeOfFile(name), type) << name;

  EXPECT_FALSE(HasUnsafeChars("plain text\t~ with CR LF\r\n"));
  for (const char* unsafe : {"caf\xc3\xa9", "bell\a", "del\x7f", "nul"})
    EXPECT_TRUE(HasUnsafeChars(unsafe == std::string("nul") ? std::string("a\0b", 3) : unsafe));
}

namespace {

// Decodes a folded sequence of encoded words back to the bytes they carry.
std::string DecodeWords(const std::string& text, const std::string& prefix) {
  std::string out;
  std::size_t at = 0;
  while ((at = text.find(prefix, at)) != std::string::npos) {
    const std::size_t begin = at + prefix.size(), end = text.find("?=", begin);
    const std::string word = text.substr(begin, end - begin);
    if (prefix.back() == '?' && prefix[prefix.size() - 2] == 'B') {
      out += DecodeBase64(word);
    } else {
      for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '_')
          out += ' ';
        else if (word[i] == '=') {
          out += char(std::stoi(word.substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else
          out += word[i];
      }
    }
    at = end + 2;
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0, next;
  while ((next = text.find("\r\n", at)) != std::string::npos) {
    lines.push_back(text.substr(at, next - at));
    at = next + 2;
  }
  lines.push_back(text.substr(at));
  return lines;
}

}  // namespace

TEST(Mime, HdrEncodeInLine) {
  EXPECT_EQ(HdrEncodeInLine("a b=c?d_e", "", 'Q', "ISO-8859-1", 76, false),
            "=?iso-8859-1?Q?a_b=3Dc=3Fd=5Fe?=");
  EXPECT_EQ(HdrEncodeInLine("caf\xc3\xa9 <x>", "<>", 'Q', "utf-8", 76, false),
            "=?utf-8?Q?caf=C3=A9_=3Cx=3E?=");
  EXPECT_EQ(HdrEncodeInLine("abcd", "", 'B', "utf-8", 76, true), "=?utf-8?B?YWJjZA==?=");
  EXPECT_EQ(HdrEncodeInLine("", "", 'Q', "utf-8", 76, true), "");
  try {
    HdrEncodeInLine("x", "", 'Q', "utf", 76, false);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Function 'HdrEncodeInLine', invalid CharSet: utf");
  }
  try {
    HdrEncodeInLine("x", "", 'X', "utf-8", 76, false);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Function 'HdrEncodeInLine', invalid EncType: X");
  }

  // Folded words stay within the columns (25 at least, the continuation's tab not counted) and
  // carry the input exactly.
  const std::string input =
      "Gr\xc3\xbc\xc3\x9f"
      "e aus K\xc3\xb6ln = eine ziemlich lange Zeile? ja_ja " +
      RandomBytes(40, 3);
  struct Case {
    char type;
    const char* charset;
    int maxCol, effective;
  };
  for (const Case c : {Case{'Q', "utf-8", 40, 40}, Case{'B', "utf-8", 40, 40},
                       Case{'Q', "iso-8859-15", 10, 25}, Case{'B', "utf-8", 3, 25}}) {
    const std::string folded = HdrEncodeInLine(input, "", c.type, c.charset, c.maxCol, true);
    const auto lines = Lines(folded);
    EXPECT_GT(lines.size(), 2u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(int(lines[i].size() - (i > 0)), c.effective) << c.type << " " << lines[i];
      if (i > 0) {
        EXPECT_EQ(lines[i][0], '\t');
      }
    }
    const std::string prefix = std::string("=?") + LowerCase(c.charset) + "?" + c.type + "?";
    EXPECT_EQ(DecodeWords(folded, prefix), input) << c.type << c.maxCol;
  }
  // A charset too long for the columns still makes progress.
  const std::string longCharset(40, 'x');
  const std::string folded = HdrEncodeInLine("abcdef", "", 'Q', longCharset, 25, true);
  EXPECT_EQ(DecodeWords(folded, "=?" + longCharset + "?Q?"), "abcdef");
}

TEST(Mime, EncodeQuotedWordSoftBreaks) {
  int pos = 1;
  EXPECT_EQ(EncodeQuotedWord("a=b \xff", 0, "", false, pos, false), "a=3Db =FF");
  EXPECT_EQ(pos, 6);
  // With folding the piece plus its soft break stays within MaxLen.
  const std::string text = "abcd=efgh";
  pos = 1;
  EXPECT_EQ(EncodeQuotedWord(text, 5, "", false, pos, true), "abcd=");
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(EncodeQuotedWord(text, 5, "", false, pos, true), "=3De=");
  EXPECT_EQ(pos, 7);
  EXPECT_EQ(EncodeQuotedWord(text, 5, "", false, pos, true), "fgh");
  EXPECT_EQ(pos, 10);
}

TEST(Mime, FoldingPieces) {
  struct Case {
    std::string text, breaks;
    int maxCol;
    std::string folded;
  };
  const Case cases[] = {
      {"aaaa bbbb cccc", " ", 9, "aaaa bbbb\r\n\tcccc"},
      {"aaaa bbbb cccc", " ", 76, "aaaa bbbb cccc"},
      {"averyverylongword next", " ", 5, "averyverylongword\r\n\tnext"},
      {"ab\r\n\tcd", " ", 76, "ab\r\n\tcd"},
      {"ab\r\n\tCD  \r\n\t  ef", " ", 76, "ab\r\n\tCD\r\n\tef"},
      {"x,  y, z", ",", 2, "x,\r\n\ty,\r\n\tz"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldText(c.text, c.breaks, c.maxCol), c.folded) << c.text;

  // Quotes hide break characters; one column cuts at every break outside them.
  const std::string list = "\"Doe, J\" <j@x>, k@y;l@z";
  int pos = 1;
  std::vector<std::string> pieces;
  while (std::size_t(pos) <= list.size())
    pieces.push_back(TakeFoldPiece(list, "", ",;", 1, "\"", pos));
  EXPECT_EQ(pieces, (std::vector<std::string>{"\"Doe, J\" <j@x>,", " k@y;", "l@z"}));
}

TEST(Base64, LinesFromAStream) {
  struct Case {
    std::size_t size;
    std::vector<std::string> lines;  // with the More flag after each: "+" or "-"
  };
  const std::string d = RandomBytes(200, 5);
  const Case cases[] = {
      {54, {EncodeBase64(d.substr(0, 54)) + "+", "-"}},
      {55, {EncodeBase64(d.substr(0, 54)) + "+", "YQ==-"}},
      {10, {EncodeBase64(d.substr(0, 10)) + "-"}},
      {0, {"-"}},
      {120,
       {EncodeBase64(d.substr(0, 54)) + "+", EncodeBase64(d.substr(54, 54)) + "+",
        EncodeBase64(d.substr(108, 12)) + "-"}},
  };
  for (const auto& c : cases) {
    std::string data = d.substr(0, c.size);
    if (c.size == 55) data[54] = 'a';
    TStringStream stream(data);
    std::vector<std::string> got;
    bool more = true;
    while (more) {
      const std::string line = EncodeBase64Line(&stream, more);
      got.push_back(line + (more ? "+" : "-"));
      ASSERT_LE(got.size(), 10u);
    }
    EXPECT_EQ(got, c.lines) << c.size;
  }
}

TEST(Mime, FileStreamsAndFoldedHeaderLines) {
  const auto dir = sonalix::test::MakeTempDir("mime");
  const std::string name = (dir / "attachment.bin").string();
  const std::string data = RandomBytes(1000, 8);
  {
    std::unique_ptr<TStream> out = OpenFileStream(name, fmCreate);
    out->WriteBuffer(data.data(), int64_t(data.size()));
    FreeFileStream(out);
    EXPECT_EQ(out, nullptr);
  }
  std::unique_ptr<TStream> in = OpenFileStream(name, fmOpenRead | fmShareDenyWrite);
  std::string encoded;
  bool more = true;
  while (more) {
    const std::string line = EncodeBase64Line(in.get(), more);
    EXPECT_LE(line.size(), 72u);
    encoded += line + "\r\n";
  }
  EXPECT_EQ(DecodeBase64(encoded), data);
  EXPECT_THROW(OpenFileStream((dir / "missing").string(), fmOpenRead), EFOpenError);

  TStringList list;
  list.Add("Before: x");
  const std::string header =
      "Subject: " + std::string("word ") + std::string(80, 'w') +
      " tail, with; breaks and more words "
      "to fill a second line of this header until it runs past seventy-six columns again";
  FoldHeaderLines(&list, header);
  ASSERT_GE(list.Count(), 4);
  EXPECT_EQ(list[0], "Before: x");
  EXPECT_EQ(list[1], "Subject: word");
  EXPECT_EQ(list[2], "\t" + std::string(80, 'w'));
  std::string joined = list[1];
  for (int i = 2; i < list.Count(); ++i) {
    EXPECT_EQ(list[i][0], '\t');
    if (i > 2) {  // a word longer than a line stays whole
      EXPECT_LE(list[i].size(), 77u) << list[i];
    }
    joined += " " + list[i].substr(1);
  }
  EXPECT_EQ(joined, header);
}
