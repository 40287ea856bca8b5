#pragma once
// Helpers shared by the unit tests: scratch folders, files, environment.

#include <string>

namespace tv::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // The folder's path with a trailing separator.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  // Creates a sub-folder and returns its path with a trailing separator.
  std::string MakeSubdir(const std::string& name) const;

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool PathExists(const std::string& path);

void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);

// The 68-byte standard anti-virus test string, built at run time.
std::string EicarString();

// Directory of the test programs (and of scan.exe and fakescan), with a
// trailing separator.
std::string ProgramDirectory();

// Copies the test program FileName (as named in ProgramDirectory) into
// Folder, runnable, as CopyName (default: the same name); returns the
// copy's path.
std::string CopyProgram(const std::string& fileName, const std::string& folder,
                        const std::string& copyName = {});

// The file name of the test program Stem ("fakescan.exe" on Windows).
std::string ProgramFile(const std::string& stem);

// Makes Folder the current directory for the object's life.
class TCurrentDir {
 public:
  explicit TCurrentDir(const std::string& folder);
  ~TCurrentDir();
  TCurrentDir(const TCurrentDir&) = delete;
  TCurrentDir& operator=(const TCurrentDir&) = delete;

 private:
  std::string previous_;
};

bool OnWindows();

}  // namespace tv::test
