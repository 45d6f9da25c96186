#include "ImportTestSupport.h"

#include <fstream>

#include "host/HostBinding.h"
#include "importer/ZizoZudu.h"
#include "standin/Registration.h"

namespace zz::testing {

void ImportTest::SetUp() {
  // Every test starts like a freshly loaded library on a fresh editor.
  GerberState = TGerberState{};
  host::UnbindHostEntryPointsForTesting();
  standin::Reset();
  standin::Register();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = std::filesystem::temp_directory_path() / "zz-importer-tests" / info->test_suite_name() / info->name();
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

void ImportTest::TearDown() {
  SetImportObserver(nullptr);
  standin::Unregister();
  host::UnbindHostEntryPointsForTesting();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ImportTest::Write(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = dir_ / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

RecordingObserver& ImportTest::Watch() {
  SetImportObserver(&observer_);
  return observer_;
}

bool ImportTest::Recognised(const std::string& path) {
  const TShortString<255> name(path);
  return RecognisedPCBFile(&name) != 0;
}

bool ImportTest::Import(const std::string& path, THandle board) {
  const TShortString<255> name(path);
  const TShortString<255> reserved("ignored");
  return ImportFileIntoPcb(&name, &reserved, board) != 0;
}

standin::TrackRecord ImportTest::TrackAt(std::size_t i) {
  const auto record = Server().Objects().FindTrack(Objects().at(i));
  if (!record) throw std::runtime_error("object " + std::to_string(i) + " is not a track");
  return *record;
}

standin::FillRecord ImportTest::FillAt(std::size_t i) {
  const auto record = Server().Objects().FindFill(Objects().at(i));
  if (!record) throw std::runtime_error("object " + std::to_string(i) + " is not a fill");
  return *record;
}

standin::ArcRecord ImportTest::ArcAt(std::size_t i) {
  const auto record = Server().Objects().FindArc(Objects().at(i));
  if (!record) throw std::runtime_error("object " + std::to_string(i) + " is not an arc");
  return *record;
}

standin::PadRecord ImportTest::PadAt(std::size_t i) {
  const auto record = Server().Objects().FindPad(Objects().at(i));
  if (!record) throw std::runtime_error("object " + std::to_string(i) + " is not a pad");
  return *record;
}

}  // namespace zz::testing
