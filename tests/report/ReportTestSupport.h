#pragma once

// Imports a file through the real importer's exports into the stand-in with a reading watch set,
// as the tool does.

#include <array>
#include <cstdint>
#include <string>

#include "importer/ImportObserver.h"
#include "importer/ZizoZudu.h"
#include "report/Misreadings.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace zzreport::test {

// The reading, and beside it the kinds of the objects the events say were created.
class CountingWatch : public MisreadingWatch {
 public:
  void OnStatement(const zz::StatementEvent& e) override {
    MisreadingWatch::OnStatement(e);
    if (e.Made != zz::MadeObject::None && !e.Refused) ++Made[static_cast<std::size_t>(e.Made)];
  }
  void OnIgnored(zz::IgnoredKind /*kind*/, std::string_view /*statement*/) override { ++Ignored; }
  std::array<int64_t, 5> Made{};
  int64_t Ignored = 0;
};

struct Imported {
  bool Recognised = false;
  bool Result = false;
  PluginReading Reading;
  std::array<int64_t, 5> Made{};  // by zz::MadeObject, from the events
};

// Into a fresh stand-in; the board keeps the objects for the caller.
inline Imported ImportWatched(const std::string& path, CountingWatch& watch) {
  standin::Reset();
  standin::Options options;
  options.Progress = standin::ProgressDisplay::Mode::Never;
  standin::Register(options);
  zz::SetImportObserver(&watch);
  const zz::TShortString<255> name(path);
  const zz::TShortString<255> reserved;
  Imported imported;
  imported.Recognised = RecognisedPCBFile(&name) != 0;
  imported.Result = imported.Recognised && ImportFileIntoPcb(&name, &reserved, 0) != 0;
  zz::SetImportObserver(nullptr);
  imported.Made = watch.Made;
  imported.Reading = watch.TakeReading();
  return imported;
}

inline Imported ImportWatched(const std::string& path) {
  CountingWatch watch;
  return ImportWatched(path, watch);
}

}  // namespace zzreport::test
