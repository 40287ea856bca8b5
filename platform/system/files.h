#pragma once
// Files opened with the sharing that the plug-in relies on.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace tv::sys {

// Every path here may be longer than the classic 259 characters: Windows
// reaches it through the wide API with the "\\?\" prefix.

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif
// Name inside Folder: joined by one separator, whether or not Folder ends
// with one.
std::string InFolder(const std::string& folder, const std::string& name);

bool FileExists(const std::string& path);  // an existing file, not a directory
// The names of the folders directly inside Folder, in no order; none when
// it cannot be read.
std::vector<std::string> SubfolderNames(const std::string& folder);
// Deletes a file, never a folder; true when no file of that name is left.
bool DeleteFileAt(const std::string& path);

// True when the two names denote one file: they resolve to the same full name
// as the system resolves names (Windows drops trailing blanks and dots and
// ignores case), or both exist and are the same file (volume and file index
// on Windows, device and inode on POSIX), as hard and symbolic links are.
bool IsSameFile(const std::string& a, const std::string& b);

// The name under which the system opens Path: absolute, with every link and
// relative part resolved, for an existing file; for a name that does not
// resolve (a missing file), its absolute form. A program handed the result
// reaches the same file whatever its own folder, and one that does not follow
// links (ClamAV's daemon) sees the file itself.
std::string ResolvedPath(const std::string& path);

// Creates a new, empty file in the system's temporary folder whose name
// begins with Prefix and goes on unguessably; an existing file is never
// opened, so nobody can plant one in its place. Returns the path, or empty
// when no file could be made.
std::string CreateTempFile(const std::string& prefix);

// Why an open failed: Busy when another opener holds the file in a
// conflicting mode, which may end soon; Failed for everything else.
enum class TOpenError { None, Busy, Failed };

// An open file. Move-only; closes itself.
class TFile {
 public:
  enum class TOpenMode {
    ReadDenyWrite,          // read; others may read but not write
    ExclusiveOpenAlways,    // read and write, no sharing, created when missing
    ExclusiveCreateAlways,  // read and write, no sharing, created or truncated
  };

  TFile() = default;
  TFile(TFile&& other) noexcept;
  TFile& operator=(TFile&& other) noexcept;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  ~TFile();

  // Fails (IsOpen() false) for a missing file, a directory, or a file that
  // another opener holds in a conflicting mode; Error() tells which.
  static TFile Open(const std::string& path, TOpenMode mode);
  // As Open, but a file that another opener holds (Busy) is tried again
  // until Limit has passed: our writers hold a file for one write, and a
  // process that another thread is just starting holds, until its program
  // runs, the files that the parent had open.
  static TFile OpenWhenFree(const std::string& path, TOpenMode mode, std::chrono::milliseconds limit);

  bool IsOpen() const { return handle_ != kInvalid; }
  // Why the open failed, or Failed once a read has failed.
  TOpenError Error() const { return error_; }
  // Bytes read into Buffer; 0 at the end of the file or on an error (which
  // Error() then tells).
  std::size_t Read(char* buffer, std::size_t size);
  // Bytes written.
  std::size_t Write(const char* data, std::size_t size);
  bool SeekToEnd();
  void Close();

 private:
  static constexpr long long kInvalid = -1;
  explicit TFile(long long handle) : handle_(handle) {}
  explicit TFile(TOpenError error) : error_(error) {}
  long long handle_ = kInvalid;
  TOpenError error_ = TOpenError::None;
};

// The whole file, or false when it cannot be opened for reading (within
// kReadWaitLimit while another opener holds it).
inline constexpr std::chrono::milliseconds kReadWaitLimit{2000};
bool ReadWholeFile(const std::string& path, std::string& content);

}  // namespace tv::sys
