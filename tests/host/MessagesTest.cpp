#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/Messages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zz {
namespace {

struct SinkRecord {
  int Calls = 0;
  std::string Caption;
  std::string Message;
};

int32_t RecordingSink(void* context, std::string_view caption, std::string_view message) {
  auto* record = static_cast<SinkRecord*>(context);
  ++record->Calls;
  record->Caption = caption;
  record->Message = message;
  return 42;
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetTestModeOverride(false); }
  void TearDown() override {
    platform::SetMessageSink(nullptr, nullptr);
    platform::ClearTestModeOverride();
  }
};

TEST_F(MessagesTest, ErrorMessageIsCaptionedErrorUnlessCaptionGiven) {
  SinkRecord record;
  platform::SetMessageSink(&RecordingSink, &record);

  EXPECT_EQ(ShowErrorMessage("Aperture Table Not Found"), 42);
  EXPECT_EQ(record.Caption, "Error");
  EXPECT_EQ(record.Message, "Aperture Table Not Found");

  EXPECT_EQ(ShowErrorMessage("Disk full", "Export"), 42);
  EXPECT_EQ(record.Caption, "Export");
  EXPECT_EQ(record.Message, "Disk full");

  EXPECT_EQ(ShowDialogWithCaption("Note", "Done", DialogType::Information, DialogButtons::Ok), 42);
  EXPECT_EQ(record.Caption, "Note");
  EXPECT_EQ(record.Calls, 3);
}

TEST_F(MessagesTest, TestModeOverrideWins) {
  platform::SetTestModeOverride(true);
  EXPECT_TRUE(platform::IsTestMode());
  platform::SetTestModeOverride(false);
  EXPECT_FALSE(platform::IsTestMode());
#ifndef _WIN32
  platform::ClearTestModeOverride();
  EXPECT_FALSE(platform::IsTestMode());  // only Windows has the registry key
#endif
}

#ifndef _WIN32
TEST_F(MessagesTest, WithoutSinkTheDialogIsOneLineOnStandardError) {
  ::testing::internal::CaptureStderr();
  const int32_t result = ShowErrorMessage("Aperture Table Not Found");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: Aperture Table Not Found\n");
  EXPECT_EQ(result, kModalResultOk);
}
#endif

#ifdef _WIN32
bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST_F(MessagesTest, RegistryKeySwitchesTestModeOnAndIsNeverCreated) {
  constexpr const char* kParent = "Software\\Ferlux";
  constexpr const char* kTestMode = "Software\\Ferlux\\TestMode";
  platform::ClearTestModeOverride();
  if (KeyExists(kTestMode)) GTEST_SKIP() << "this machine is in test mode already";
  const bool parentExisted = KeyExists(kParent);

  EXPECT_FALSE(platform::IsTestMode());
  EXPECT_FALSE(KeyExists(kTestMode));

  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestMode, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    GTEST_SKIP() << "no right to create the test-mode key";
  }
  RegCloseKey(key);
  const bool withKey = platform::IsTestMode();
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestMode);
  if (!parentExisted) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent);
  EXPECT_TRUE(withKey);
  EXPECT_FALSE(platform::IsTestMode());
}
#endif

// Test mode ends the process, so it runs in a child. The child sends its standard output to a
// file that the parent reads afterwards; the name is fixed because on Windows the child is a
// fresh start of this program that runs the test body again.
class TestModeDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    outputPath_ = ::testing::TempDir() + "zz_host_" + info->name() + ".out";
  }
  void TearDown() override { std::remove(outputPath_.c_str()); }

  // Lines of the child's standard output, without their line ends.
  std::string ChildOutput() const {
    std::ifstream in(outputPath_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    std::string cleaned;
    for (char c : s) {
      if (c != '\r') cleaned.push_back(c);
    }
    return cleaned;
  }

  std::string outputPath_;
};

void RedirectStandardOutput(const std::string& path) {
  if (std::freopen(path.c_str(), "w", stdout) == nullptr) std::_Exit(3);
}

void ExitHandlerMustNotRun() {
  std::fputs("exit handler ran\n", stdout);
  std::fflush(stdout);
}

TEST_F(TestModeDeathTest, ErrorMessageWritesOneLineAndEndsWithCode1) {
  std::remove(outputPath_.c_str());
  EXPECT_EXIT(
      {
        RedirectStandardOutput(outputPath_);
        std::atexit(&ExitHandlerMustNotRun);
        SinkRecord record;
        platform::SetMessageSink(&RecordingSink, &record);  // test mode comes before the sink
        platform::SetTestModeOverride(true);
        std::fputs("before\n", stdout);  // buffered output still goes out, in order
        ShowErrorMessage("Aperture Table Not Found");
        std::fputs("after\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(1), "");
  EXPECT_EQ(ChildOutput(), "before\nShowDialogWithCaption withError Aperture Table Not Found\n");
}

}  // namespace
}  // namespace zz
