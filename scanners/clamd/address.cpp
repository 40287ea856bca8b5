#include "scanners/clamd/address.h"

namespace tv::clamd {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// 1 to 65535 in plain digits.
std::optional<std::uint16_t> Port(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long port = std::stoul(text);
  if (port < 1 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

// One address, or the reason it is none.
std::optional<TServerAddress> ParseOne(const std::string& text, std::string& problem) {
  TServerAddress address;
  address.Text = text;
  if (text.empty()) {
    problem = "an empty address";
    return std::nullopt;
  }
  if (text.front() == '/') {
    address.Kind = TServerAddress::TKind::Local;
    address.Path = text;
    return address;
  }
  std::size_t colon;
  if (text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos || close == 1 || close + 1 >= text.size() || text[close + 1] != ':') {
      problem = text + ": an IPv6 address is written [ADDRESS]:PORT";
      return std::nullopt;
    }
    address.Host = text.substr(1, close - 1);
    colon = close + 1;
  } else {
    colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
      problem = text + ": HOST:PORT expected";
      return std::nullopt;
    }
    address.Host = text.substr(0, colon);
    if (address.Host.find(':') != std::string::npos) {
      problem = text + ": an IPv6 address is written [ADDRESS]:PORT";
      return std::nullopt;
    }
  }
  const std::optional<std::uint16_t> port = Port(text.substr(colon + 1));
  if (!port) {
    problem = text + ": the port is a number from 1 to 65535";
    return std::nullopt;
  }
  address.Port = *port;
  return address;
}

}  // namespace

std::optional<std::vector<TServerAddress>> ParseServerList(const std::string& text, std::string& problem) {
  std::vector<TServerAddress> servers;
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = text.find(',', at);
    const std::string item =
        Trimmed(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    std::optional<TServerAddress> server = ParseOne(item, problem);
    if (!server) return std::nullopt;
    servers.push_back(std::move(*server));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return servers;
}

}  // namespace tv::clamd
