#include "plugin/report_search.h"

#include <cstring>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/system/files.h"

namespace tv {

namespace {

constexpr std::size_t kInitialBuffer = 1 << 20;

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Horspool search for a pattern that is already upper-cased, in text that is
// upper-cased byte by byte while it is compared. The skip table holds 0 for
// every byte whose upper case is the pattern's last character, so the hot
// loop needs one lookup per step.
class TFoldedFinder {
 public:
  TFoldedFinder(std::string_view upperPattern, const sys::TUpperTable& upper)
      : pattern_(upperPattern), upper_(upper) {
    const std::size_t m = pattern_.size();
    std::size_t shiftOfUpper[256];
    for (std::size_t& s : shiftOfUpper) s = m;
    for (std::size_t i = 0; i + 1 < m; ++i) shiftOfUpper[static_cast<unsigned char>(pattern_[i])] = m - 1 - i;
    const unsigned char last = static_cast<unsigned char>(pattern_[m - 1]);
    lastShift_ = shiftOfUpper[last];
    for (std::size_t b = 0; b < 256; ++b) skip_[b] = upper_[b] == last ? 0 : shiftOfUpper[upper_[b]];
  }

  // First position in [from, end) where the whole pattern fits and matches.
  std::size_t Find(const char* text, std::size_t from, std::size_t end) const {
    const std::size_t m = pattern_.size();
    if (end < m) return std::string_view::npos;
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text) + (m - 1);
    const std::size_t limit = end - m;  // last start position that fits
    std::size_t pos = from;
    while (pos <= limit) {
      // Each step moves by at most m, so three steps stay within bounds
      // while pos + 3m <= limit.
      while (pos + 3 * m <= limit) {
        std::size_t s = skip_[t[pos]];
        if (s == 0) break;
        pos += s;
        s = skip_[t[pos]];
        if (s == 0) break;
        pos += s;
        s = skip_[t[pos]];
        if (s == 0) break;
        pos += s;
      }
      std::size_t s = skip_[t[pos]];
      if (s != 0) {
        pos += s;
        continue;
      }
      if (Matches(text + pos, m - 1)) return pos;
      pos += lastShift_;
    }
    return std::string_view::npos;
  }

 private:
  bool Matches(const char* at, std::size_t count) const {
    for (std::size_t j = 0; j < count; ++j) {
      if (upper_[static_cast<unsigned char>(at[j])] != static_cast<unsigned char>(pattern_[j])) return false;
    }
    return true;
  }

  std::string_view pattern_;
  const sys::TUpperTable& upper_;
  std::size_t skip_[256];
  std::size_t lastShift_ = 1;
};

bool StartsWithUpper(const char* line, std::size_t length, std::string_view upperPrefix,
                     const sys::TUpperTable& upper) {
  if (length < upperPrefix.size()) return false;
  for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
    if (upper[static_cast<unsigned char>(line[i])] != static_cast<unsigned char>(upperPrefix[i]))
      return false;
  }
  return true;
}

}  // namespace

std::optional<TReportMatch> SearchReport(const std::string& reportPath, std::string_view fileName,
                                         std::string_view upperTag, const sys::TUpperTable& upper) {
  sys::TFile report = sys::TFile::Open(reportPath, sys::TFile::TOpenMode::ReadDenyWrite);
  if (!report.IsOpen()) {
    throw EFOpenError("Datei " + reportPath +
                      " kann nicht ge\xF6"
                      "ffnet werden");  // ö
  }
  // A tag that holds a line end or a NUL cannot lie inside one line.
  if (upperTag.empty() || upperTag.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    return std::nullopt;

  std::string upperFile;
  upperFile.reserve(fileName.size());
  for (char c : fileName) upperFile += static_cast<char>(upper[static_cast<unsigned char>(c)]);

  const TFoldedFinder finder(upperTag, upper);
  std::vector<char> buffer(kInitialBuffer);
  std::size_t length = 0;  // bytes held; the buffer always starts at a line's start
  bool atEnd = false;

  // The search runs over whole lines only; a line cut by the end of the
  // buffer waits at the front for the rest of it.
  for (;;) {
    if (!atEnd) {
      if (length == buffer.size()) buffer.resize(buffer.size() * 2);
      std::size_t got = report.Read(buffer.data() + length, buffer.size() - length);
      if (got == 0) {
        atEnd = true;
      } else {
        const void* nul = std::memchr(buffer.data() + length, '\0', got);
        if (nul != nullptr) {
          length = static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data());
          atEnd = true;
        } else {
          length += got;
        }
      }
    }

    std::size_t complete = length;
    if (!atEnd) {
      while (complete > 0 && !IsLineEnd(buffer[complete - 1])) --complete;
    }

    const char* data = buffer.data();
    std::size_t from = 0;
    for (;;) {
      std::size_t hit = finder.Find(data, from, complete);
      if (hit == std::string_view::npos) break;
      std::size_t lineStart = hit;
      while (lineStart > from && !IsLineEnd(data[lineStart - 1])) --lineStart;
      std::size_t lineEnd = hit + upperTag.size();
      while (lineEnd < complete && !IsLineEnd(data[lineEnd])) ++lineEnd;
      if (StartsWithUpper(data + lineStart, lineEnd - lineStart, upperFile, upper)) {
        return TReportMatch{std::string(data + lineStart, lineEnd - lineStart), hit - lineStart + 1};
      }
      from = lineEnd;  // later occurrences in this line cannot make it match
    }

    if (atEnd) break;
    std::memmove(buffer.data(), buffer.data() + complete, length - complete);
    length -= complete;
  }
  return std::nullopt;
}

}  // namespace tv
