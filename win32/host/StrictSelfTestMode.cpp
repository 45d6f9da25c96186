#include <iostream>

#include "win32/host/HostModes.h"
#include "win32/host/HostProgram.h"
#include "win32/host/StrictCall.h"

namespace zzhost {

int RunStrictSelfTest(const Options& /*options*/) {
  std::string log;
  const bool passed = StrictCallSelfTest(log);
  std::cout << log << "strict self-test: " << (passed ? "passed" : "FAILED") << '\n';
  return passed ? kExitImported : kExitStrictCheckFailed;
}

}  // namespace zzhost
