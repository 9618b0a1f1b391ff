// The disc database client's query and read over HTTP against lighttpd on 127.0.0.1, and its
// damaged replies.

#include <gtest/gtest.h>

#include "CddbTestUtil.h"
#include "net/HttpProt.h"

using namespace cdtest;

namespace {

const char* const Id = "0b016602";

const char* const Entry =
    "210 rock 0b016602 CD database entry follows (until terminating `.')\r\n"
    "# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t13500\r\n#\r\n"
    "# Disc length: 360 seconds\r\n#\r\n# Revision: 3\r\n#\r\n"
    "DISCID=0b016602\r\nDTITLE=Artist / Album\r\nDYEAR=2001\r\nDGENRE=Rock\r\n"
    "TTITLE0=Opening\r\nTTITLE1=Closing\\nTime\r\nEXTD=\r\nEXTT0=\r\nEXTT1=\r\n"
    "PLAYORDER=\r\n.\r\n";

struct CddbClient : ::testing::Test {
  TCddbServer Server;
  void SetUp() override {
    if (nettest::FindProgram("lighttpd").empty())
      GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
    ASSERT_TRUE(Server.Start());
  }
  void Prepare(TCddbRig& rig) {
    rig.Cddb->ServerPort = std::to_string(Server.Port);
    ASSERT_TRUE(rig.Cddb->SelectDrive(0));
    EXPECT_EQ(rig.Cddb->CDInfo().DiscId, Id);
  }
};

TEST_F(CddbClient, QueryStringExactMatchAndRead) {
  TCddbRig rig;
  Prepare(rig);
  Server.Reply(std::string("query-") + Id, "200 rock 0b016602 Artist / Album\r\n");
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
  // The server reads the address with its unreserved escapes decoded; the component reports it
  // as sent (a peer of our own sees the bytes, below).
  EXPECT_EQ(ReadText(Server.Dir / "queries.log"),
            "cmd=cddb+query+0b016602+2+150+13500+360&hello=daruzeva+example.org+daruzeva+2.0"
            "&proto=5\n");
  ASSERT_FALSE(rig.Exchanges.empty());
  EXPECT_EQ(rig.Exchanges[0], "http://127.0.0.1:" + std::to_string(Server.Port) +
                                  "/~cddb/cddb.cgi?cmd=cddb+query+0b016602+2+150+13500+360&hello="
                                  "daruzeva+example%2Eorg+daruzeva+2%2E0&proto=5\r\n");
  EXPECT_EQ(rig.Cddb->State(), 3);
  EXPECT_TRUE(rig.Said("Querying CD"));
  EXPECT_TRUE(rig.Said("Found exact match"));
  ASSERT_EQ(rig.MatchCalls.size(), 1u);
  EXPECT_EQ(rig.MatchCalls[0], std::vector<std::string>{"rock 0b016602 Artist / Album"});
  EXPECT_EQ(rig.Cddb->CDInfo().Category, "rock");
  EXPECT_EQ(rig.Cddb->CDInfo().DiscId, "0B016602");  // upper case after an exact match

  // The read asks with the id as it stands; afterwards the id is the drive's again.
  Server.Reply("read-0B016602", Entry);
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->ReadEntry(); }, 11));
  EXPECT_NE(ReadText(Server.Dir / "queries.log").find("cmd=cddb+read+rock+0B016602&hello="),
            std::string::npos);
  EXPECT_EQ(rig.Cddb->State(), 12);
  EXPECT_TRUE(rig.Said("Entry read"));
  EXPECT_FALSE(rig.Said("The entry is corrupt"));
  const TCDInfo& info = rig.Cddb->CDInfo();
  EXPECT_EQ(info.DiscId, Id);
  EXPECT_EQ(info.Category, "rock");
  EXPECT_EQ(info.Artist, "Artist");
  EXPECT_EQ(info.Title, "Album");
  EXPECT_EQ(info.TrackTitles[0], "Opening");
  EXPECT_EQ(info.TrackTitles[1], "Closing\r\nTime");
  EXPECT_EQ(info.TOC.TrackCount, 2);  // the drive's TOC again
  EXPECT_EQ(info.TOC.LeadOut.Minute, 6);
}

TEST_F(CddbClient, QueryReplies) {
  const std::string three =
      "211 close matches found\r\nrock 0b016602 First / One\r\njazz 0b016699 Second / Two\r\n"
      "misc 0b0166aa Third / Three\r\n.\r\n";
  struct TCase {
    const char* Name;
    std::string Reply;
    int Choice;
    bool Handler;
    int State;
    std::vector<std::string> Said;
    size_t MatchCalls;
    std::string Category, DiscId;
  } cases[] = {
      {"three, the second chosen", three, 1, true, 3,
       {"Found inexact matches", "OK, receiving matches", "Received matches"}, 1, "jazz", "0b016699"},
      {"three, no handler takes the first", three, 0, false, 3, {"Received matches"}, 0, "rock", "0b016602"},
      {"three, none chosen", three, -1, true, 5, {"Received matches"}, 1, "", Id},
      {"exact, refused", "200 rock 0b016602 A / B\r\n", -1, true, 5, {"Found exact match"}, 1, "", Id},
      {"no match", "202 No match for disc ID 0b016602.\r\n", 0, true, 5, {"No match found"}, 0, "", Id},
      {"corrupt", "403 Database entry is corrupt.\r\n", 0, true, 5, {"Database entry is corrupt"}, 0, "", Id},
      {"no handshake", "409 No handshake.\r\n", 0, true, 5, {"No handshake"}, 0, "", Id},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCddbRig rig;
    Prepare(rig);
    rig.Choice = c.Choice;
    if (!c.Handler) rig.Cddb->OnMatch = nullptr;
    Server.Reply(std::string("query-") + Id, c.Reply);
    ASSERT_TRUE(rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
    EXPECT_EQ(rig.Cddb->State(), c.State);
    for (const auto& s : c.Said) EXPECT_TRUE(rig.Said(s)) << s;
    EXPECT_EQ(rig.MatchCalls.size(), c.MatchCalls);
    if (c.MatchCalls && c.Reply == three) EXPECT_EQ(rig.MatchCalls[0].size(), 3u);
    EXPECT_EQ(rig.Cddb->CDInfo().Category, c.Category);
    EXPECT_EQ(rig.Cddb->CDInfo().DiscId, c.DiscId);
    if (c.State == 5) {
      EXPECT_EQ(rig.Cddb->ReadEntry(), -1);
      EXPECT_EQ(rig.Statuses.back(), "Can't perform a CDDB READ without a successful CDDB QUERY!");
    }
  }
}

TEST_F(CddbClient, ReadWithoutPlayOrderAndReadFailures) {
  TCddbRig rig;
  Prepare(rig);
  rig.Cddb->CDInfo().Category = "rock";
  std::string noPlayOrder = Entry;
  noPlayOrder.erase(noPlayOrder.find("PLAYORDER=\r\n"), 12);
  Server.Reply(std::string("read-") + Id, noPlayOrder);
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->ReadEntry(); }, 11));
  EXPECT_EQ(rig.Cddb->State(), 12);
  ASSERT_GE(rig.Statuses.size(), 2u);
  EXPECT_EQ(rig.Statuses[rig.Statuses.size() - 2], "Entry read");
  EXPECT_EQ(rig.Statuses.back(), "The entry is corrupt");
  EXPECT_EQ(rig.Cddb->CDInfo().TrackTitles[0], "Opening");

  Server.Reply(std::string("read-") + Id, "401 rock 0b016602 No such CD entry in database.\r\n");
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->ReadEntry(); }, 11));
  EXPECT_EQ(rig.Cddb->State(), 13);
  EXPECT_TRUE(rig.Said("Specified CDDB entry not found"));
}

// Every damaged reply ends the request in state 16 with a text, whatever the request was.
TEST_F(CddbClient, DamagedRepliesEndInState16) {
  const std::string gaveUp = "CDDB Component Internal Error: THttpCli.GetAsync failed because of error \"";
  std::string cutEntry = Entry;
  cutEntry.erase(cutEntry.find(".\r\n"));
  struct TCase {
    const char* Name;
    std::string Head, Query, Read;
    std::string Text;
    int ReadState;  // a line no entry has ends the read as failed instead
  } cases[] = {
      {"404 page", "Status: 404 Not Found\r\nContent-Type: text/html\r\n\r\n",
       "<html><body>Not Found</body></html>\r\n", "<html><body>Not Found</body></html>\r\n",
       gaveUp + "404 Not Found\"", 16},
      {"cut before the dot", "", "211 close matches\r\nrock 0b016602 A / B\r\n", cutEntry,
       gaveUp + "Incomplete reply\"", 16},
      {"garbage", "", "\x01\x02 nothing of the protocol \xff\r\nmore\r\n",
       "\x01\x02 nothing of the protocol \xff\r\n", gaveUp + "Incomplete reply\"", 13},
      {"empty", "", "", "", gaveUp + "Incomplete reply\"", 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const bool read : {false, true}) {
      SCOPED_TRACE(read ? "read" : "query");
      TCddbRig rig;
      Prepare(rig);
      rig.Cddb->CDInfo().Category = "rock";
      Server.Reply(std::string(read ? "read-" : "query-") + Id, read ? c.Read : c.Query, c.Head);
      ASSERT_TRUE(read ? rig.Run([&] { return rig.Cddb->ReadEntry(); }, 11)
                       : rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
      EXPECT_TRUE(rig.MatchCalls.empty());
      EXPECT_EQ(rig.Cddb->CDInfo().TrackTitles[0], "");
      if (read && c.ReadState == 13) {
        EXPECT_EQ(rig.Cddb->State(), 13);
        continue;
      }
      EXPECT_EQ(rig.Cddb->State(), 16);
      EXPECT_EQ(rig.Statuses.back(), c.Text);
    }
  }
}

TEST(CddbClientPeers, NoStatusLineAndNobodyListening) {
  {
    TOneShotPeer peer("rock 0b016602 no status line\r\n\r\n.\r\n");
    TCddbRig rig;
    rig.Cddb->ServerPort = std::to_string(peer.Port);
    ASSERT_TRUE(rig.Cddb->SelectDrive(0));
    ASSERT_TRUE(rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
    EXPECT_EQ(rig.Cddb->State(), 16);
    EXPECT_EQ(rig.Statuses.back(),
              "CDDB Component Internal Error: THttpCli.GetAsync failed because of error \"The "
              "reply has no HTTP/1.x status line\"");
    EXPECT_TRUE(rig.MatchCalls.empty());
    EXPECT_EQ(peer.Request.rfind("GET /~cddb/cddb.cgi?cmd=cddb+query+0b016602+2+150+13500+360&hello="
                                 "daruzeva+example%2Eorg+daruzeva+2%2E0&proto=5 HTTP/1.", 0), 0u)
        << peer.Request;
  }
  TCddbRig rig;
  rig.Cddb->ServerPort = std::to_string(nettest::FreePort());
  ASSERT_TRUE(rig.Cddb->SelectDrive(0));
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
  EXPECT_EQ(rig.Cddb->State(), 16);
  const std::string& last = rig.Statuses.back();
  EXPECT_EQ(last.rfind("CDDB Component Internal Error: THttpCli.GetAsync failed because of error \"", 0), 0u) << last;
  EXPECT_GT(last.size(), 80u) << last;  // a reason is given
}

// A headerless page answered at once stays a reply without status: no disc database reply.
TEST(CddbClientPeers, HeaderlessHtmlReply) {
  TOneShotPeer peer("<HTML><body>maintenance</body></HTML>\r\n");
  TCddbRig rig;
  rig.Cddb->ServerPort = std::to_string(peer.Port);
  ASSERT_TRUE(rig.Cddb->SelectDrive(0));
  ASSERT_TRUE(rig.Run([&] { return rig.Cddb->QueryDisc(); }, 6));
  EXPECT_EQ(rig.Cddb->State(), 16);
  EXPECT_EQ(rig.Cddb->HttpCli().ReplyCode(), 0);
}

TEST(CddbComponent, DrivesNoteAndRefusals) {
  TCddbRig rig;
  EXPECT_TRUE(rig.Cddb->InternalTOCRetrieve);
  EXPECT_EQ(rig.Cddb->DriveLetter(), 'D');
  EXPECT_EQ(rig.Cddb->State(), -1);
  EXPECT_EQ(rig.Cddb->CDInfo().TOC.TrackCount, 2);  // read when created
  EXPECT_FALSE(rig.Cddb->SelectDrive(1));
  rig.Drive.Toc.assign(CdRawTocSize, 0);
  EXPECT_FALSE(rig.Cddb->SelectDrive(0));
  EXPECT_EQ(rig.Statuses.back(), "No CD in CD/DVD drive!");
  EXPECT_EQ(rig.Cddb->CDInfo().DiscId, "00000001");
  rig.Cddb->SetNoteToUser(std::string(100, 'n'));
  EXPECT_EQ(rig.Cddb->NoteToUser(), std::string(70, 'n'));
  rig.Cddb->ServerType = CDDBP;
  EXPECT_EQ(rig.Cddb->QueryDisc(), -1);
  EXPECT_EQ(rig.Statuses.back(), "Selected server not an HTTP server");
  rig.Cddb->InternalTOCRetrieve = false;
  EXPECT_FALSE(rig.Cddb->SelectDrive(0));
  EXPECT_EQ(rig.Statuses.back(), "No CD-ROM interface detected!");
  EXPECT_EQ(rig.Cddb->DriveLetter(), 0);
}

TEST(CddbComponent, StatusReplyTable) {
  TCddbRig rig;
  struct {
    const char* Line;
    const char* Text;
    int Flags;
  } cases[] = {
      {"402 x", "Server error", 258},
      {"408 x", "CGI environment error", 258},
      {"500 x", "Command syntax error, command unknown, command unimplemented", 257},
      {"530 x", "Server error, server timeout", 257},
      {"100 x", "Informative message, ready for further commands", 4 | 256},
      {"210 x", "Command OK, more server-to-client output follows", 16 | 128},
      {"320 x", "Command OK so far, more client-to-server input follows", 8 | 64},
      {"401 x", "Command OK, but cannot be performed", 2},
      {"599 x", "Command unimplemented, incorrect, or program error", 1},
      {"230 x", "Command OK, connection will close", 16 | 32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rig.Cddb->HandleStatusReply(c.Line), c.Flags) << c.Line;
    EXPECT_EQ(rig.Statuses.back(), c.Text) << c.Line;
  }
  EXPECT_EQ(rig.Cddb->State(), -1);
}

}  // namespace
