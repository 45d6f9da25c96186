#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "standin/ClientFiles.h"

namespace standin {
namespace {

namespace fs = std::filesystem;

// Runs one text service into a full-size buffer pre-filled with a marker.
template <typename Fn, typename... A>
std::string Call(Fn fn, A... args) {
  std::string buffer(zz::client::kResultBufferSize, '#');
  fn(args..., buffer.data());
  return std::string(buffer.c_str());
}

class ClientFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zz_clientfiles_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(std::random_device{}()));  // several builds may run these tests at once
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  fs::path dir_;
};

TEST_F(ClientFiles, OnlyAnExistingRegularFileExists) {
  const std::string file = Write("top.gtl", "%FSLAX24Y24*%\n");
  EXPECT_EQ(ClientAPI_ExistSpecific(file.c_str()), 1);
  EXPECT_EQ(ClientAPI_ExistSpecific(dir_.string().c_str()), 0);
  EXPECT_EQ(ClientAPI_ExistSpecific((dir_ / "missing.gtl").string().c_str()), 0);
  EXPECT_EQ(ClientAPI_ExistSpecific(""), 0);
  EXPECT_EQ(ClientAPI_ExistSpecific(nullptr), 0);
  // Found as the editor finds it: in any letter case, and with trailing dots and blanks dropped.
  for (const char* name : {"TOP.GTL", "Top.Gtl", "top.gtl.", "top.gtl ", "TOP.gtl. ."}) {
    EXPECT_EQ(ClientAPI_ExistSpecific((dir_ / name).string().c_str()), 1) << name;
    EXPECT_EQ(ClientAPI_GetFileSize((dir_ / name).string().c_str()), 14) << name;
  }
  EXPECT_EQ(ClientAPI_ExistSpecific((dir_ / "top.gtl.x").string().c_str()), 0);
}

TEST_F(ClientFiles, SizeIsTheByteCountOrMinusOne) {
  EXPECT_EQ(ClientAPI_GetFileSize(Write("a.gbr", std::string(1234, 'x')).c_str()), 1234);
  EXPECT_EQ(ClientAPI_GetFileSize(Write("empty.gbr", "").c_str()), 0);
  EXPECT_EQ(ClientAPI_GetFileSize((dir_ / "missing.gbr").string().c_str()), -1);
  EXPECT_EQ(ClientAPI_GetFileSize(dir_.string().c_str()), -1);
  EXPECT_EQ(ClientAPI_GetFileSize(nullptr), -1);
}

// Folder + name + extension must give the path back: the table-file search joins them.
TEST(ClientFilePaths, PartsOfAPathJoinBackToIt) {
  struct Case {
    const char* Path;
    const char* Dir;
    const char* Name;
    const char* Ext;
    const char* Whole;
  };
  const Case cases[] = {
      {"/work/boards/top.gtl", "/work/boards/", "top", ".gtl", "top.gtl"},
      {"top.gtl", "", "top", ".gtl", "top.gtl"},
      {"layer.g1", "", "layer", ".g1", "layer.g1"},
      {"/a.b/noext", "/a.b/", "noext", "", "noext"},
      {"dir/archive.tar.gz", "dir/", "archive.tar", ".gz", "archive.tar.gz"},
      {"dir/", "dir/", "", "", ""},
      {"/", "/", "", "", ""},
      {"", "", "", "", ""},
#if defined(_WIN32)
      {"C:\\boards\\top.gtl", "C:\\boards\\", "top", ".gtl", "top.gtl"},
      {"C:top.gtl", "C:", "top", ".gtl", "top.gtl"},
      {"a\\b/c.tar.gbr", "a\\b/", "c.tar", ".gbr", "c.tar.gbr"},
      {"rev.2\\layer", "rev.2\\", "layer", "", "layer"},  // a dot in a folder name is no extension
#endif
  };
  for (const Case& c : cases) {
    const std::string dir = Call(ClientAPI_ExtractFileDirFromPath, c.Path);
    const std::string name = Call(ClientAPI_ExtractFileNameFromPath, c.Path);
    const std::string ext = Call(ClientAPI_ExtractFileExtFromPath, c.Path);
    EXPECT_EQ(dir, c.Dir) << c.Path;
    EXPECT_EQ(name, c.Name) << c.Path;
    EXPECT_EQ(ext, c.Ext) << c.Path;
    EXPECT_EQ(Call(ClientAPI_ExtractWholeFileNameFromPath, c.Path), c.Whole) << c.Path;
    EXPECT_EQ(dir + name + ext, c.Path) << c.Path;
  }
}

TEST(ClientFilePaths, ForcingAnExtensionReplacesTheOldOne) {
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "/x/top.gtl", "apr"), "/x/top.apr");
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "/x/top", "apr"), "/x/top.apr");
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "/x.d/top", "apr"), "/x.d/top.apr");
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "a.tar.gz", ".apr"), "a.tar.apr");
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "top.gtl", ""), "top");
#if defined(_WIN32)
  EXPECT_EQ(Call(ClientAPI_ForceFileNameExtension, "rev.2\\layer", "apr"), "rev.2\\layer.apr");
#endif
}

TEST(ClientFilePaths, ResultsNeverExceedTheBuffer) {
  const std::string longPath = "/" + std::string(6000, 'd') + "/" + std::string(5000, 'n') + ".gtl";
  for (auto fn :
       {ClientAPI_ExtractFileDirFromPath, ClientAPI_ExtractFileNameFromPath, ClientAPI_ExtractWholeFileNameFromPath}) {
    std::string buffer(zz::client::kResultBufferSize + 16, '#');
    fn(longPath.c_str(), buffer.data());
    EXPECT_EQ(std::string(buffer.c_str()).size(), zz::client::kResultBufferSize - 1);
    EXPECT_EQ(buffer.substr(zz::client::kResultBufferSize), std::string(16, '#'));  // nothing written beyond
  }
  std::string buffer(zz::client::kResultBufferSize + 16, '#');
  ClientAPI_ForceFileNameExtension(longPath.c_str(), "apr", buffer.data());
  EXPECT_EQ(std::string(buffer.c_str()).size(), zz::client::kResultBufferSize - 1);
  EXPECT_EQ(buffer.substr(zz::client::kResultBufferSize), std::string(16, '#'));
}

}  // namespace
}  // namespace standin
