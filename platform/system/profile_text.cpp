#include "platform/system/profile_text.h"

#include <vector>

#include "platform/system/text.h"

namespace tv::sys::profile {

namespace {

// The system reader also counts Ctrl-Z, the old end-of-file mark, as blank.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

// Names and values are C strings to the system reader: each ends at its
// first NUL, whatever the line holds after it.
std::string_view UpToNul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

// A line ends at CR, at LF, or at the pair CR LF.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
  std::size_t end = text.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) return text.size();
  if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') return end + 2;
  return end + 1;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Cp1252Upper(static_cast<unsigned char>(a[i])) != Cp1252Upper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// One line of the file, as the reader sees it.
struct TLine {
  std::size_t Begin = 0;  // offset of the line in the text
  std::size_t End = 0;    // offset just past its line end
  enum class TKind { Blank, Section, Key } Kind = TKind::Blank;
  std::string_view Name;   // section or key name, trimmed
  bool HasValue = false;   // a key line with "="
  std::string_view Value;  // trimmed
};

std::vector<TLine> Parse(std::string_view text) {
  std::vector<TLine> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    TLine line;
    line.Begin = pos;
    line.End = LineEnd(text, pos);
    std::string_view body = Trim(text.substr(pos, line.End - pos));
    pos = line.End;

    if (body.empty()) {
      lines.push_back(line);
      continue;
    }
    if (body.front() == '[') {
      std::size_t close = body.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        line.Kind = TLine::TKind::Section;
        line.Name = UpToNul(Trim(body.substr(1, close - 1)));
        lines.push_back(line);
        continue;
      }
      // A header without its bracket reads as an ordinary line.
    }
    line.Kind = TLine::TKind::Key;
    std::size_t eq = body.find('=');
    if (eq == std::string_view::npos) {
      line.Name = UpToNul(body);
    } else {
      line.Name = UpToNul(Trim(body.substr(0, eq)));
      line.HasValue = true;
      line.Value = UpToNul(Trim(body.substr(eq + 1)));
    }
    lines.push_back(line);
  }
  return lines;
}

// Index range [first, last) of the lines of the first section named Section,
// header excluded; first == npos when there is none.
struct TSectionRange {
  std::size_t Header = std::string_view::npos;
  std::size_t First = 0, Last = 0;
};

TSectionRange FindSection(const std::vector<TLine>& lines, std::string_view section) {
  TSectionRange range;
  section = Trim(section);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].Kind == TLine::TKind::Section && SameName(lines[i].Name, section)) {
      range.Header = i;
      range.First = i + 1;
      range.Last = range.First;
      while (range.Last < lines.size() && lines[range.Last].Kind != TLine::TKind::Section) ++range.Last;
      break;
    }
  }
  return range;
}

std::size_t FindKey(const std::vector<TLine>& lines, const TSectionRange& range, std::string_view key) {
  key = Trim(key);
  for (std::size_t i = range.First; i < range.Last; ++i) {
    if (lines[i].Kind == TLine::TKind::Key && SameName(lines[i].Name, key)) return i;
  }
  return std::string_view::npos;
}

bool EndsWithLineEnd(std::string_view text) {
  return text.empty() || text.back() == '\n' || text.back() == '\r';
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key) {
  std::vector<TLine> lines = Parse(text);
  TSectionRange range = FindSection(lines, section);
  if (range.Header == std::string_view::npos) return std::nullopt;
  std::size_t at = FindKey(lines, range, key);
  // The first line with the key's name decides, even one without "=".
  if (at == std::string_view::npos || !lines[at].HasValue) return std::nullopt;
  return std::string(Unquote(lines[at].Value));
}

std::string EffectiveDefault(std::string_view defaultValue) {
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  return std::string(Unquote(defaultValue));
}

std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
  static constexpr std::string_view kEol = "\r\n";
  std::vector<TLine> lines = Parse(text);
  TSectionRange range = FindSection(lines, section);
  std::string result;

  if (range.Header == std::string_view::npos) {
    result.assign(text);
    if (!EndsWithLineEnd(result)) result += kEol;
    result.append("[").append(Trim(section)).append("]").append(kEol);
    result.append(Trim(key)).append("=").append(value).append(kEol);
    return result;
  }

  std::size_t at = FindKey(lines, range, key);
  if (at != std::string_view::npos) {
    const TLine& line = lines[at];
    // Keep the line's own end so that the rest of the file stays as it was.
    std::string_view raw = text.substr(line.Begin, line.End - line.Begin);
    std::size_t eolStart = raw.size();
    while (eolStart > 0 && (raw[eolStart - 1] == '\n' || raw[eolStart - 1] == '\r')) --eolStart;
    std::string_view eol = raw.substr(eolStart);
    result.assign(text.substr(0, line.Begin));
    result.append(line.Name).append("=").append(value);
    result.append(eol.empty() ? kEol : eol);
    result.append(text.substr(line.End));
    return result;
  }

  // A new key goes after the section's last non-blank line.
  std::size_t after = range.Header;
  for (std::size_t i = range.First; i < range.Last; ++i) {
    if (lines[i].Kind != TLine::TKind::Blank) after = i;
  }
  std::size_t insertAt = lines[after].End;
  result.assign(text.substr(0, insertAt));
  if (!EndsWithLineEnd(result)) result += kEol;
  result.append(Trim(key)).append("=").append(value).append(kEol);
  result.append(text.substr(insertAt));
  return result;
}

}  // namespace tv::sys::profile
