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

// The report's bytes as whole lines, a window at a time: the window always
// starts at a line's start, and a line cut by its end waits at the front for
// the rest of it (the buffer grows for a line longer than it). A NUL byte
// ends the text.
class TLineWindow {
 public:
  explicit TLineWindow(sys::TFile& file) : file_(file), buffer_(kInitialBuffer) {}

  // The next whole lines, after those handed out before; at the end of the
  // text its last line counts as whole without a line end.
  std::string_view Next() {
    std::memmove(buffer_.data(), buffer_.data() + complete_, length_ - complete_);
    length_ -= complete_;
    if (!atEnd_) Refill();
    complete_ = length_;
    if (!atEnd_) {
      while (complete_ > 0 && !IsLineEnd(buffer_[complete_ - 1])) --complete_;
    }
    return {buffer_.data(), complete_};
  }
  bool AtEnd() const { return atEnd_; }

 private:
  void Refill() {
    if (length_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t got = file_.Read(buffer_.data() + length_, buffer_.size() - length_);
    if (got == 0) {
      atEnd_ = true;
    } else if (const void* nul = std::memchr(buffer_.data() + length_, '\0', got)) {
      length_ = static_cast<std::size_t>(static_cast<const char*>(nul) - buffer_.data());
      atEnd_ = true;
    } else {
      length_ += got;
    }
  }

  sys::TFile& file_;
  std::vector<char> buffer_;
  std::size_t length_ = 0;    // bytes held
  std::size_t complete_ = 0;  // of them, the whole lines handed out last
  bool atEnd_ = false;
};

// The first of Lines that begins with the file and holds the tag.
std::optional<TReportMatch> FindTaggedLine(std::string_view lines, const TFoldedFinder& finder,
                                           std::size_t tagSize, std::string_view upperFile,
                                           const sys::TUpperTable& upper) {
  const char* data = lines.data();
  const std::size_t complete = lines.size();
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = finder.Find(data, from, complete);
    if (hit == std::string_view::npos) return std::nullopt;
    std::size_t lineStart = hit;
    while (lineStart > from && !IsLineEnd(data[lineStart - 1])) --lineStart;
    std::size_t lineEnd = hit + tagSize;
    while (lineEnd < complete && !IsLineEnd(data[lineEnd])) ++lineEnd;
    if (StartsWithUpper(data + lineStart, lineEnd - lineStart, upperFile, upper))
      return TReportMatch{std::string(data + lineStart, lineEnd - lineStart), hit - lineStart + 1};
    from = lineEnd;  // later occurrences in this line cannot make it match
  }
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
  TLineWindow window(report);
  for (;;) {
    if (std::optional<TReportMatch> match =
            FindTaggedLine(window.Next(), finder, upperTag.size(), upperFile, upper))
      return match;
    if (window.AtEnd()) return std::nullopt;
  }
}

}  // namespace tv
