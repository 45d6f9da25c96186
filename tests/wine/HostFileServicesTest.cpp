// The host program's client file services, on the Windows file API: the contracts the plug-in
// relies on (folder part with its separator, name without extension, extension with its dot, -1 for
// a size that cannot be had), which the end-to-end dumps only see through whole imports.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "win32/host/HostFileServices.h"

namespace {

constexpr std::size_t kBuffer = 4096;

using ExtractFn = void(ZZ_WINAPI*)(const char*, char*);

std::string Extract(ExtractFn service, const char* path) {
  std::string buffer(kBuffer, '\x7f');
  service(path, buffer.data());
  return buffer.c_str();
}

std::string Force(const char* path, const char* extension) {
  std::string buffer(kBuffer, '\x7f');
  ClientAPI_ForceFileNameExtension(path, extension, buffer.data());
  return buffer.c_str();
}

struct PathCase {
  const char* Path;
  const char* Dir;
  const char* Name;
  const char* Ext;
  const char* Whole;
};

class PathParts : public testing::TestWithParam<PathCase> {};

TEST_P(PathParts, SplitIntoFolderNameAndExtension) {
  const PathCase& c = GetParam();
  EXPECT_EQ(Extract(&ClientAPI_ExtractFileDirFromPath, c.Path), c.Dir);
  EXPECT_EQ(Extract(&ClientAPI_ExtractFileNameFromPath, c.Path), c.Name);
  EXPECT_EQ(Extract(&ClientAPI_ExtractFileExtFromPath, c.Path), c.Ext);
  EXPECT_EQ(Extract(&ClientAPI_ExtractWholeFileNameFromPath, c.Path), c.Whole);
  // The table-file search joins folder + name + extension with nothing between them.
  EXPECT_EQ(std::string(c.Dir) + c.Name + c.Ext, c.Path);
}

INSTANTIATE_TEST_SUITE_P(ClientFiles, PathParts,
                         testing::Values(PathCase{"C:\\boards\\top.gtl", "C:\\boards\\", "top", ".gtl", "top.gtl"},
                                         PathCase{"gen/f001.gbr", "gen/", "f001", ".gbr", "f001.gbr"},
                                         PathCase{"top.gtl", "", "top", ".gtl", "top.gtl"},
                                         PathCase{"C:top.gtl", "C:", "top", ".gtl", "top.gtl"},
                                         PathCase{"a\\b/c.tar.gbr", "a\\b/", "c.tar", ".gbr", "c.tar.gbr"},
                                         // A dot in a folder name is not an extension.
                                         PathCase{"rev.2\\layer", "rev.2\\", "layer", "", "layer"},
                                         PathCase{"dir\\", "dir\\", "", "", ""}, PathCase{"", "", "", "", ""}));

TEST(ClientFiles, ForceExtensionReplacesAddsOrRemovesIt) {
  EXPECT_EQ(Force("C:\\b\\top.gtl", "apr"), "C:\\b\\top.apr");
  EXPECT_EQ(Force("C:\\b\\top.gtl", ".apr"), "C:\\b\\top.apr");  // the dot is not doubled
  EXPECT_EQ(Force("rev.2\\layer", "apr"), "rev.2\\layer.apr");
  EXPECT_EQ(Force("top.gtl", ""), "top");
}

TEST(ClientFiles, ResultsAreCutToTheBufferAndTerminated) {
  const std::string longPath = std::string(6000, 'x') + ".gbr";
  std::string buffer(kBuffer + 16, '\x7f');
  ClientAPI_ExtractWholeFileNameFromPath(longPath.c_str(), buffer.data());
  EXPECT_EQ(buffer[kBuffer - 1], '\0');
  EXPECT_EQ(std::string(buffer.c_str()).size(), kBuffer - 1);
  EXPECT_EQ(buffer[kBuffer], '\x7f');  // nothing written past the buffer
  ClientAPI_ForceFileNameExtension(longPath.c_str(), "apr", buffer.data());
  EXPECT_EQ(std::string(buffer.c_str()).size(), kBuffer - 1);
  EXPECT_EQ(buffer[kBuffer], '\x7f');
}

TEST(ClientFiles, NullPathsGiveEmptyResults) {
  EXPECT_EQ(Extract(&ClientAPI_ExtractFileDirFromPath, nullptr), "");
  EXPECT_EQ(ClientAPI_ExistSpecific(nullptr), 0);
  EXPECT_EQ(ClientAPI_GetFileSize(nullptr), -1);
}

class ClientFilesOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    folder_ = std::string(folder) + "zz-client-files-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    file_ = folder_ + "\\board.gtl";
    std::ofstream(file_, std::ios::binary) << std::string(1234, 'G');
  }
  void TearDown() override {
    DeleteFileA(file_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string folder_;
  std::string file_;
};

TEST_F(ClientFilesOnDisk, ExistsOnlyForFiles) {
  EXPECT_EQ(ClientAPI_ExistSpecific(file_.c_str()), 1);
  EXPECT_EQ(ClientAPI_ExistSpecific(folder_.c_str()), 0);
  EXPECT_EQ(ClientAPI_ExistSpecific((folder_ + "\\missing.gtl").c_str()), 0);
  EXPECT_EQ(ClientAPI_ExistSpecific(""), 0);
}

TEST_F(ClientFilesOnDisk, SizeOfAFileOrMinusOne) {
  EXPECT_EQ(ClientAPI_GetFileSize(file_.c_str()), 1234);
  EXPECT_EQ(ClientAPI_GetFileSize(folder_.c_str()), -1);
  EXPECT_EQ(ClientAPI_GetFileSize((folder_ + "\\missing.gtl").c_str()), -1);
}

}  // namespace
