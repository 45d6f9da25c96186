#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "host/ClientServices.h"
#include "host/Messages.h"
#include "host/ModuleLookup.h"
#include "standin/PcbServer.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Unregister(); }
};

TEST_F(Registration, TheModuleAnswersEveryEntryPointWithItsOwnFunction) {
  Register();
  const zz::platform::ModuleHandle module = zz::platform::FindLoadedModule("zetpcb.DLL");
  ASSERT_NE(module, nullptr);
  std::set<void*> addresses;
#define ZZ_CHECK_ENTRY(Name, Ret, Neutral, Params, Args)                                     \
  EXPECT_EQ(zz::platform::FindModuleEntry(module, #Name), reinterpret_cast<void*>(&::Name)); \
  addresses.insert(zz::platform::FindModuleEntry(module, #Name));
  ZZ_PCBAPI_ENTRIES(ZZ_CHECK_ENTRY)
#undef ZZ_CHECK_ENTRY
  EXPECT_EQ(addresses.size(), 74U);
  EXPECT_EQ(zz::platform::FindModuleEntry(module, "PcbApi_NoSuchEntry"), nullptr);
}

TEST_F(Registration, LeftOutEntriesAndTheWholeModuleAreAbsent) {
  Options options;
  options.AbsentEntries = {"PcbApi_QueryPad", "PcbApi_Percent_Update"};
  Register(options);
  const zz::platform::ModuleHandle module = zz::platform::FindLoadedModule("ZetPcb.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(zz::platform::FindModuleEntry(module, "PcbApi_QueryPad"), nullptr);
  EXPECT_EQ(zz::platform::FindModuleEntry(module, "PcbApi_Percent_Update"), nullptr);
  EXPECT_NE(zz::platform::FindModuleEntry(module, "PcbApi_QueryTrack"), nullptr);

  options.ModuleAbsent = true;
  Register(options);
  EXPECT_EQ(zz::platform::FindLoadedModule("ZetPcb.dll"), nullptr);
}

TEST_F(Registration, ClientServicesReachTheFileSystemUnlessLeftOut) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("zz_registration_" + std::to_string(std::random_device{}()) + ".gtl");
  std::ofstream(file) << "12345";
  Register();
  EXPECT_TRUE(zz::client::ExistSpecific(file.string()));
  EXPECT_EQ(zz::client::GetFileSize(file.string()), 5);
  EXPECT_EQ(zz::client::ExtractFileExtFromPath(file.string()), ".gtl");

  Options options;
  options.AbsentClientServices = {"ClientAPI_ExistSpecific", "ClientAPI_GetFileSize"};
  Register(options);
  EXPECT_FALSE(zz::client::ExistSpecific(file.string()));
  EXPECT_EQ(zz::client::GetFileSize(file.string()), -1);
  EXPECT_EQ(zz::client::ExtractFileExtFromPath(file.string()), ".gtl");
  std::filesystem::remove(file);
}

TEST_F(Registration, MessagesShownAreCollected) {
  Register();
  zz::ShowErrorMessage("Aperture Table Not Found");
  zz::ShowErrorMessage("second");
  EXPECT_EQ(TheServer().Ui().Messages(), (std::vector<std::string>{"Aperture Table Not Found", "second"}));
}

}  // namespace
}  // namespace standin
