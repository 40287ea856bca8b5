#pragma once
// Where clamd servers listen: "HOST:PORT" (a name or an IPv4 address, or an
// IPv6 address in brackets, "[::1]:3310") or a local socket's path
// ("/run/clamav/clamd.ctl", POSIX). A list separates them with commas and
// is tried in its order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv::clamd {

struct TServerAddress {
  enum class TKind { Tcp, Local } Kind = TKind::Tcp;
  std::string Host;        // Tcp: without brackets
  std::uint16_t Port = 0;  // Tcp
  std::string Path;        // Local
  std::string Text;        // as written, for messages
};

// The servers of a comma-separated list, blanks around each trimmed; nothing,
// with the reason in Problem ("ADDRESS: what is wrong"), when one of them is
// not an address or the list is empty.
std::optional<std::vector<TServerAddress>> ParseServerList(const std::string& text, std::string& problem);

}  // namespace tv::clamd
