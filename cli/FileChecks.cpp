#include "cli/FileChecks.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "host/ClientServices.h"
#include "standin/ClientFiles.h"

namespace zzcli {
namespace {

constexpr std::size_t kMaxLine = 255;
constexpr int kCtrlZ = 26;
constexpr const char* kMustHold = "it must hold \"%FS...X..Y..*%\", the whole format statement, on the first line";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A text result of one of the client file services.
template <typename Fn, typename... A>
std::string ServiceText(Fn fn, A... args) {
  std::vector<char> buffer(zz::client::kResultBufferSize, '\0');
  fn(args..., buffer.data());
  return std::string(buffer.data());
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// File names compare without letter case, as on the editor's file system.
bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool IsUsableCandidate(const std::string& candidate, const std::string& gerberPath) {
  return !candidate.empty() && !SameFileName(candidate, gerberPath) &&
         standin::ClientAPI_ExistSpecific(candidate.c_str()) != 0;
}

}  // namespace

Diagnosis DiagnoseGerberFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file(path);
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return {Unrecognised::Missing, "the file does not exist"};
  if (!std::filesystem::is_regular_file(status)) {
    return {Unrecognised::NotRegularFile, "it is not a regular file (a folder or a device)"};
  }
  const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(path.c_str(), "rb"));
  if (!in) return {Unrecognised::CannotOpen, "it cannot be opened for reading"};

  std::string line;
  for (int c; (c = std::fgetc(in.get())) != EOF && c != '\n' && c != kCtrlZ;) {
    if (c != '\r' && line.size() < kMaxLine) line.push_back(static_cast<char>(c));
  }
  if (line.empty()) return {Unrecognised::EmptyFirstLine, std::string("its first line is empty; ") + kMustHold};

  std::string upper = line;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string missing;
  auto need = [&](bool present, const char* what) {
    if (present) return;
    missing += missing.empty() ? "" : ", ";
    missing += what;
  };
  need(upper.find("%FS") != std::string::npos || upper.find("%*FS") != std::string::npos, "\"%FS\"");
  need(upper.find('X') != std::string::npos, "\"X\"");
  need(upper.find('Y') != std::string::npos, "\"Y\"");
  need(upper.find("*%") != std::string::npos, "\"*%\"");
  if (missing.empty()) return {};
  return {Unrecognised::NoFormatStatement,
          std::string("its first line lacks a format statement: ") + kMustHold + " (no " + missing + " found)"};
}

std::optional<std::string> GuessApertureTableFile(const std::string& gerberPath) {
  const char* path = gerberPath.c_str();
  std::string extension = ServiceText(standin::ClientAPI_ExtractFileExtFromPath, path);
  if (!extension.empty()) {
    if (extension[0] != '.') extension.insert(extension.begin(), '.');
    if (extension.size() >= 2) extension[1] = 'A';
  }
  const std::string first = ServiceText(standin::ClientAPI_ExtractFileDirFromPath, path) +
                            ServiceText(standin::ClientAPI_ExtractFileNameFromPath, path) + extension;
  if (IsUsableCandidate(first, gerberPath)) return first;
  const std::string second = ServiceText(standin::ClientAPI_ForceFileNameExtension, path, "apr");
  if (IsUsableCandidate(second, gerberPath)) return second;
  return std::nullopt;
}

}  // namespace zzcli
