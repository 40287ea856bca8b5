#pragma once
// What the search for a program needs to know of the platform; the search
// itself (FindProgram in process.h) is the same for both builds.

#include <string>
#include <string_view>
#include <vector>

namespace tv::sys::search {

enum class TNameKind {
  Rooted,      // a path from a root: taken as it stands
  WithFolder,  // a relative path with a folder in it
  Bare,        // a name alone: searched for
  Refused,     // empty, or relative to a current directory that we never search (Windows "C:x")
};
TNameKind Classify(std::string_view name);

// The system's program folders, then the rooted folders of the search path.
std::vector<std::string> SystemFolders();

// The file names that Name may stand for (Windows adds ".exe" to a name
// without extension).
std::vector<std::string> FileNames(const std::string& name);

// The rooted folders of a search-path list (quotes around an entry removed);
// empty and relative entries stand for the current directory and are left out.
std::vector<std::string> RootedFolders(std::string_view list, char separator);

bool IsProgramFile(const std::string& path);
std::string Join(const std::string& folder, const std::string& name);

}  // namespace tv::sys::search
