#include <gtest/gtest.h>

#include "ToolRun.h"
#include "cli/FileChecks.h"

namespace zzcli {
namespace {

using FileChecks = test::TempFolder;

TEST_F(FileChecks, MissingFilesAndFoldersAreNamedAsSuch) {
  EXPECT_EQ(FileProblem(PathOf("missing.gtl")), "the file does not exist");
  EXPECT_EQ(FileProblem(dir_.string()), "it is not a regular file (a folder or a device)");
  EXPECT_EQ(FileProblem(Write("empty.gtl", "")), std::nullopt);
}

}  // namespace
}  // namespace zzcli
