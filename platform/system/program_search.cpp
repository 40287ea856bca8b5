#include "platform/system/program_search.h"

#include "platform/system/process.h"

namespace tv::sys {

namespace {

std::string FirstProgramIn(const std::vector<std::string>& folders, const std::string& name) {
  for (const std::string& folder : folders) {
    for (const std::string& file : search::FileNames(name)) {
      std::string full = folder.empty() ? file : search::Join(folder, file);
      if (search::IsProgramFile(full)) return full;
    }
  }
  return {};
}

}  // namespace

std::vector<std::string> search::RootedFolders(std::string_view list, char separator) {
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(separator, start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view folder = list.substr(start, end - start);
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
      folder = folder.substr(1, folder.size() - 2);
    if (Classify(folder) == TNameKind::Rooted) folders.emplace_back(folder);
    start = end + 1;
  }
  return folders;
}

std::string FindProgram(const std::string& name, const std::string& folder) {
  switch (search::Classify(name)) {
    case search::TNameKind::Rooted: return FirstProgramIn({""}, name);
    case search::TNameKind::WithFolder:
      return folder.empty() ? std::string() : FirstProgramIn({folder}, name);
    case search::TNameKind::Bare: {
      std::vector<std::string> folders;
      if (!folder.empty()) folders.push_back(folder);
      for (std::string& system : search::SystemFolders()) folders.push_back(std::move(system));
      return FirstProgramIn(folders, name);
    }
    case search::TNameKind::Refused: break;
  }
  return {};
}

}  // namespace tv::sys
