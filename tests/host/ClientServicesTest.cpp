#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/CallConv.h"
#include "host/ClientServices.h"

namespace zz::client {
namespace {

std::string g_lastPath;
std::string g_lastExtension;

uint8_t ZZ_WINAPI FakeExist(const char* path) {
  g_lastPath = path;
  return std::strcmp(path, "C:\\boards\\top.gtl") == 0 ? 0x80 : 0;  // any nonzero byte is true
}
void ZZ_WINAPI FakeDir(const char* path, char* result) {
  g_lastPath = path;
  std::strcpy(result, "C:\\boards\\");
}
void ZZ_WINAPI FakeName(const char*, char* result) { std::strcpy(result, "top"); }
void ZZ_WINAPI FakeExt(const char*, char* result) { std::strcpy(result, ".gtl"); }
void ZZ_WINAPI FakeWholeName(const char*, char* result) { std::strcpy(result, "top.gtl"); }
void ZZ_WINAPI FakeForce(const char* path, const char* extension, char* result) {
  g_lastPath = path;
  g_lastExtension = extension;
  std::strcpy(result, "C:\\boards\\top.apr");
}
int32_t ZZ_WINAPI FakeSize(const char*) { return 4321; }

// A careless host: fills the whole buffer and writes no terminator.
void ZZ_WINAPI UnterminatedResult(const char*, char* result) { std::memset(result, 'x', kResultBufferSize); }
void ZZ_WINAPI UnterminatedForce(const char*, const char*, char* result) {
  std::memset(result, 'y', kResultBufferSize);
}
// A host that answers nothing.
void ZZ_WINAPI SilentResult(const char*, char*) {}

class ClientServicesTest : public ::testing::Test {
 protected:
  void TearDown() override { RegisterClientServices({}); }
};

TEST_F(ClientServicesTest, AbsentServicesGiveTheirAbsentValues) {
  RegisterClientServices({});
  EXPECT_FALSE(ExistSpecific("C:\\boards\\top.gtl"));
  EXPECT_EQ(ExtractFileDirFromPath("C:\\boards\\top.gtl"), "");
  EXPECT_EQ(ExtractFileNameFromPath("C:\\boards\\top.gtl"), "");
  EXPECT_EQ(ExtractFileExtFromPath("C:\\boards\\top.gtl"), "");
  EXPECT_EQ(ExtractWholeFileNameFromPath("C:\\boards\\top.gtl"), "");
  EXPECT_EQ(ForceFileNameExtension("C:\\boards\\top.gtl", "apr"), "");
  EXPECT_EQ(GetFileSize("C:\\boards\\top.gtl"), -1);
}

TEST_F(ClientServicesTest, RegisteredServicesAreCalledWithThePath) {
  RegisterClientServices({&FakeExist, &FakeDir, &FakeName, &FakeExt, &FakeWholeName, &FakeForce, &FakeSize});
  EXPECT_TRUE(ExistSpecific("C:\\boards\\top.gtl"));
  EXPECT_FALSE(ExistSpecific("C:\\boards\\top.Atl"));
  EXPECT_EQ(g_lastPath, "C:\\boards\\top.Atl");
  EXPECT_EQ(ExtractFileDirFromPath("C:\\boards\\top.gtl"), "C:\\boards\\");
  EXPECT_EQ(g_lastPath, "C:\\boards\\top.gtl");
  EXPECT_EQ(ExtractFileNameFromPath("C:\\boards\\top.gtl"), "top");
  EXPECT_EQ(ExtractFileExtFromPath("C:\\boards\\top.gtl"), ".gtl");
  EXPECT_EQ(ExtractWholeFileNameFromPath("C:\\boards\\top.gtl"), "top.gtl");
  EXPECT_EQ(ForceFileNameExtension("C:\\boards\\top.gtl", "apr"), "C:\\boards\\top.apr");
  EXPECT_EQ(g_lastExtension, "apr");
  EXPECT_EQ(GetFileSize("C:\\boards\\top.gtl"), 4321);
}

TEST_F(ClientServicesTest, ResultWithoutTerminatorIsCutAtTheBufferEnd) {
  ClientServiceTable table;
  table.ExtractFileDirFromPath = &UnterminatedResult;
  table.ForceFileNameExtension = &UnterminatedForce;
  RegisterClientServices(table);
  EXPECT_EQ(ExtractFileDirFromPath("a.gtl"), std::string(kResultBufferSize - 1, 'x'));
  EXPECT_EQ(ForceFileNameExtension("a.gtl", "apr"), std::string(kResultBufferSize - 1, 'y'));
}

TEST_F(ClientServicesTest, HostThatWritesNothingGivesAnEmptyText) {
  ClientServiceTable table;
  table.ExtractFileDirFromPath = &UnterminatedResult;
  table.ExtractFileNameFromPath = &SilentResult;
  RegisterClientServices(table);
  ExtractFileDirFromPath("a.gtl");  // leaves garbage behind, if buffers were reused unzeroed
  EXPECT_EQ(ExtractFileNameFromPath("a.gtl"), "");
}

#ifndef _WIN32
TEST_F(ClientServicesTest, BindingWithoutWindowsKeepsARegisteredTable) {
  ClientServiceTable table;
  table.GetFileSize = &FakeSize;
  RegisterClientServices(table);
  BindClientServices();
  EXPECT_EQ(GetFileSize("a.gtl"), 4321);
}
#endif

}  // namespace
}  // namespace zz::client

#ifdef _WIN32
// The test program plays the host application: it exports two of the services itself.
extern "C" __declspec(dllexport) int32_t ZZ_WINAPI ClientAPI_GetFileSize(const char*) { return 777; }
extern "C" __declspec(dllexport) void ZZ_WINAPI ClientAPI_ExtractFileNameFromPath(const char*, char* result) {
  std::strcpy(result, "from-host");
}

namespace zz::client {
namespace {

TEST(ClientServicesWin32, BindingFindsTheServicesOfTheMainExecutable) {
  BindClientServices();
  EXPECT_EQ(GetFileSize("a.gtl"), 777);
  EXPECT_EQ(ExtractFileNameFromPath("a.gtl"), "from-host");
  EXPECT_FALSE(ExistSpecific("a.gtl"));  // not exported: absent
  RegisterClientServices({});
}

}  // namespace
}  // namespace zz::client
#endif
