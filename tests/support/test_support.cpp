#include "tests/support/test_support.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/system/module.h"

namespace fs = std::filesystem;

namespace tv::test {

namespace {

std::string WithSeparator(const fs::path& p) {
  std::string s = p.string();
  if (!s.empty() && s.back() != '/' && s.back() != '\\')
    s += static_cast<char>(fs::path::preferred_separator);
  return s;
}

}  // namespace

TTempDir::TTempDir() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate =
        fs::temp_directory_path() / ("tvtest-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = WithSeparator(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
  std::error_code ec;
  fs::remove_all(fs::path(path_), ec);
}

std::string TTempDir::MakeSubdir(const std::string& name) const {
  fs::path dir = fs::path(path_) / name;
  fs::create_directories(dir);
  return WithSeparator(dir);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::path(path), ec);
}

void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv((name + "=" + value).c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

void UnsetEnv(const std::string& name) {
#ifdef _WIN32
  _putenv((name + "=").c_str());
#else
  unsetenv(name.c_str());
#endif
}

std::string EicarString() {
  return std::string("X5O!P%@AP[4\\PZX54(P^)7CC)7}$") + "EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*";
}

std::string ProgramDirectory() {
  return sys::HostExecutableDirectory();
}

std::string CopyProgram(const std::string& fileName, const std::string& folder, const std::string& copyName) {
  const std::string copy = folder + (copyName.empty() ? fileName : copyName);
  fs::copy_file(fs::path(ProgramDirectory() + fileName), fs::path(copy),
                fs::copy_options::overwrite_existing);
  return copy;
}

std::string ProgramFile(const std::string& stem) {
  return OnWindows() ? stem + ".exe" : stem;
}

TCurrentDir::TCurrentDir(const std::string& folder) : previous_(fs::current_path().string()) {
  fs::current_path(folder);
}

TCurrentDir::~TCurrentDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
}

bool OnWindows() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

}  // namespace tv::test
