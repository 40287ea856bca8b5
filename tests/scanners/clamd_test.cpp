// The clamd client's pieces that need no daemon: server lists and answers.
// Its exchanges with a real clamd and with peers that misbehave are in the
// host suite (tests/wine/suite.sh).

#include <gtest/gtest.h>

#include "scanners/clamd/address.h"
#include "scanners/clamd/client.h"

namespace tv::clamd {
namespace {

using TKind = TServerAddress::TKind;

TEST(ClamdServers, ListsAreReadInOrder) {
  std::string problem;
  const auto servers =
      ParseServerList(" 127.0.0.1:3310 ,[::1]:1,/run/clamav/clamd.ctl,mail.example.org:65535", problem);
  ASSERT_TRUE(servers.has_value()) << problem;
  ASSERT_EQ(servers->size(), 4u);
  const struct {
    TKind Kind;
    std::string Host;
    std::uint16_t Port;
    std::string Path, Text;
  } expected[] = {
      {TKind::Tcp, "127.0.0.1", 3310, "", "127.0.0.1:3310"},
      {TKind::Tcp, "::1", 1, "", "[::1]:1"},
      {TKind::Local, "", 0, "/run/clamav/clamd.ctl", "/run/clamav/clamd.ctl"},
      {TKind::Tcp, "mail.example.org", 65535, "", "mail.example.org:65535"},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    const TServerAddress& s = (*servers)[i];
    EXPECT_EQ(s.Kind, expected[i].Kind) << i;
    EXPECT_EQ(s.Host, expected[i].Host) << i;
    EXPECT_EQ(s.Port, expected[i].Port) << i;
    EXPECT_EQ(s.Path, expected[i].Path) << i;
    EXPECT_EQ(s.Text, expected[i].Text) << i;
  }
}

TEST(ClamdServers, WhatIsNoAddressIsNamed) {
  const std::string ipv6 = ": an IPv6 address is written [ADDRESS]:PORT";
  const std::string port = ": the port is a number from 1 to 65535";
  const struct {
    std::string List, Problem;
  } cases[] = {
      {"", "an empty address"},
      {"a:1,,b:2", "an empty address"},
      {"a:1,", "an empty address"},
      {"localhost", "localhost: HOST:PORT expected"},
      {":3310", ":3310: HOST:PORT expected"},
      {"::1:3310", "::1:3310" + ipv6},
      {"[::1]", "[::1]" + ipv6},
      {"[]:1", "[]:1" + ipv6},
      {"[::1]x1", "[::1]x1" + ipv6},
      {"host:", "host:" + port},
      {"host:0", "host:0" + port},
      {"host:65536", "host:65536" + port},
      {"host:-1", "host:-1" + port},
      {"host:3310x", "host:3310x" + port},
      {"host:99999999999999999999", "host:99999999999999999999" + port},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(ParseServerList(c.List, problem).has_value()) << c.List;
    EXPECT_EQ(problem, c.Problem) << c.List;
  }
}

TEST(ClamdAnswers, OnlyTheDaemonsOwnWordsAreAVerdict) {
  using TResult = TScanResult::TKind;
  const struct {
    std::string Answer;
    TResult Kind;
    std::string Text;
  } cases[] = {
      {"stream: OK", TResult::Clean, ""},
      {"stream: OK\n", TResult::Clean, ""},
      {"stream: Win.Test.EICAR_HDB-1 FOUND", TResult::Found, "Win.Test.EICAR_HDB-1"},
      {"stream: Heuristics.Limits.Exceeded.MaxFileSize FOUND", TResult::Found,
       "Heuristics.Limits.Exceeded.MaxFileSize"},
      {"INSTREAM size limit exceeded. ERROR", TResult::Error, "INSTREAM size limit exceeded"},
      {"stream: Can't allocate memory ERROR", TResult::Error, "Can't allocate memory"},
      {"ERROR", TResult::Error, "the daemon reported an error"},
      // Anything else is no verdict, least of all a clean one.
      {"", TResult::Error, "unexpected answer: "},
      {"OK", TResult::Error, "unexpected answer: OK"},
      {"stream: ", TResult::Error, "unexpected answer: stream: "},
      {"stream: OKAY", TResult::Error, "unexpected answer: stream: OKAY"},
      {"stream:  FOUND", TResult::Error, "unexpected answer: stream:  FOUND"},
      {"Sig FOUND", TResult::Error, "unexpected answer: Sig FOUND"},
      {"HTTP/1.1 400 Bad Request", TResult::Error, "unexpected answer: HTTP/1.1 400 Bad Request"},
  };
  for (const auto& c : cases) {
    const TScanResult result = ParseAnswer(c.Answer);
    EXPECT_EQ(result.Kind, c.Kind) << c.Answer;
    EXPECT_EQ(result.Text, c.Text) << c.Answer;
  }
}

TEST(ClamdClient, AFileThatCannotBeOpenedAsksNoServer) {
  std::string problem;
  const auto servers = ParseServerList("127.0.0.1:1", problem);
  const TScanResult result = ScanFile("/no/such/folder/file.txt", *servers, TClientOptions{});
  EXPECT_EQ(result.Kind, TScanResult::TKind::Error);
  EXPECT_EQ(result.Text, "cannot open the file");
}

}  // namespace
}  // namespace tv::clamd
