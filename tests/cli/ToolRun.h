#pragma once

// Runs the tool in-process with its output caught, and gives each test a folder of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Tool.h"

namespace zzcli::test {

struct ToolResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline ToolResult RunWith(const Plugin& plugin, std::vector<std::string> args) {
  args.insert(args.begin(), "zizozudu");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out;
  std::ostringstream err;
  ToolResult result;
  result.ExitCode = RunTool(static_cast<int>(argv.size()), argv.data(), plugin, out, err);
  result.Out = out.str();
  result.Err = err.str();
  return result;
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("zz_cli_") + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(std::random_device{}());  // several builds may run these tests at once
    std::replace(name.begin(), name.end(), '/', '_');           // a table's rows: one folder each
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path dir_;
};

}  // namespace zzcli::test
