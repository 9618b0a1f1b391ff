#include <gtest/gtest.h>

#include "net/IcsUrl.h"

TEST(Url, ParseUrl) {
  struct Case {
    std::string url, previousPath;
    std::string proto, user, password, host, port, path;
  };
  const Case cases[] = {
      {"", "/old", "", "", "", "", "", ""},
      {"http://www.example.org/cgi-bin/cddb.cgi?cmd=x", "", "http", "", "", "www.example.org", "",
       "/cgi-bin/cddb.cgi?cmd=x"},
      {"HTTP://Host:8080", "/old", "http", "", "", "Host", "8080", ""},
      {"https://me:secret@h:81/p", "", "https", "me", "secret", "h", "81", "/p"},
      {"ftp://me@h/p", "", "ftp", "me", "", "h", "", "/p"},
      {"svn+ssh://a:b:c@h", "", "svn+ssh", "a", "b:c", "h", "", ""},
      {"http://x@y@h:1/", "", "http", "x@y", "", "h", "1", "/"},
      {"h/x", "", "", "", "", "h", "", "/x"},
      {"h?q=1", "", "", "", "", "h", "", "?q=1"},
      {"h?q=/a", "", "", "", "", "h", "", "?q=/a"},
      {"h:81", "", "", "", "", "h", "81", ""},
      {"/a/b?c", "/old", "http", "", "", "", "", "/a/b?c"},
      {"//h:2/p", "", "http", "", "", "h", "2", "/p"},
      {"http:/x/y", "", "http", "", "", "", "", "/x/y"},
      {"Http:x", "", "http", "", "", "", "", "x"},
      {"mailto:joe@example.org", "", "mailto", "joe", "", "example.org", "", ""},
      // A scheme with a character outside the allowed ones is not a scheme.
      {"ht_tp://h/p", "", "http", "", "", "ht_tp", "", "//h/p"},
      {"./b", "/a/c", "", "", "", "", "", "/a/b"},
      {"./b", "noslash", "", "", "", "", "", "/b"},
      {"../b", "/a/c/d", "", "", "", "", "", "/a/b"},
      {"../../b?x", "/a/c/d/e", "", "", "", "", "", "/a/b?x"},
      {"../../../b", "/a/c", "", "", "", "", "", "/b"},
  };
  for (const auto& c : cases) {
    std::string proto = "x", user = "x", password = "x", host = "x", port = "x",
                path = c.previousPath;
    ParseURL(c.url, proto, user, password, host, port, path);
    EXPECT_EQ(proto, c.proto) << c.url;
    EXPECT_EQ(user, c.user) << c.url;
    EXPECT_EQ(password, c.password) << c.url;
    EXPECT_EQ(host, c.host) << c.url;
    EXPECT_EQ(port, c.port) << c.url;
    EXPECT_EQ(path, c.path) << c.url;
  }
}

TEST(Url, PosnAndHexDigits) {
  struct Case {
    const char *sub, *text;
    int count, expected;
  };
  const Case cases[] = {
      {"/", "/a/b", -1, 3}, {"/", "/a/b", -2, 1}, {"/", "/a/b", -3, 0}, {"/", "/a/b", 1, 1},
      {"/", "/a/b", 2, 3},  {"/", "/a/b", 3, 5},  {"/", "/a/b", 0, 0},  {"ab", "xabab", 2, 4},
      {"aa", "aaaa", 2, 3}, {"aa", "aaa", -2, 1}, {"q", "", 1, 1},      {"q", "", -1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Posn(c.sub, c.text, c.count), c.expected) << c.sub << " " << c.text << " " << c.count;

  const std::string digits = "0123456789abcdefABCDEF";
  for (int ch = 0; ch < 256; ++ch) {
    const std::size_t at = digits.find(char(ch));
    EXPECT_EQ(IsHexDigit(char(ch)), ch != 0 && at != std::string::npos) << ch;
    if (ch != 0 && at != std::string::npos) {
      EXPECT_EQ(HexDigitValue(char(ch)), at < 16 ? int(at) : int(at) - 6);
    }
  }
}
