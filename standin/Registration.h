#pragma once

// Putting the stand-in where the plug-in looks for the editor: the PCB server as the substitute
// module "ZetPcb.dll" (a resolver from entry name to function address), the file services as
// the substitute client services, and a message sink that keeps every message the plug-in
// shows in TheServer().Messages().
//
// The plug-in binds the module's names once, on its first host call; to bind again under other
// options a test must also make the plug-in forget its binding.

#include <set>
#include <string>

#include "standin/Progress.h"

namespace standin {

struct Options {
  bool ModuleAbsent = false;                   // no "ZetPcb.dll" at all
  std::set<std::string> AbsentEntries;         // PcbApi_ names the module does not export
  std::set<std::string> AbsentClientServices;  // ClientAPI_ names the host does not provide
  bool CollectMessages = true;                 // otherwise the platform shows them
  ProgressDisplay::Mode Progress = ProgressDisplay::Mode::Auto;
};

// Registers the stand-in under these options. Does not touch the boards.
void Register(const Options& options = {});
// Removes the module, the client services and the message sink.
void Unregister();
// A fresh board set: no objects, one empty current board, no messages, progress counters zero.
void Reset();

// The resolver registered for "ZetPcb.dll": honours Options::AbsentEntries.
void* ResolveEntry(const char* name);

}  // namespace standin
