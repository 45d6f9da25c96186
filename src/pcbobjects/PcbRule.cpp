#include "pcbobjects/PcbRule.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbRule::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  auto& b = LeadingBytes;
  auto& t = LeadingTexts;
  auto& v = Values;
  auto& u = TrailingTexts;
  return host::PcbApi_QueryRule(direction, Handle, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &t[0], &t[1], &t[2],
                                &t[3], &MiddleBytes[0], &MiddleBytes[1], &v[0], &v[1], &v[2], &v[3], &u[0], &u[1],
                                &u[2], &u[3], &u[4], &u[5]);
}

}  // namespace zz
