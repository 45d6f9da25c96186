#include "pcbobjects/PCBObjectClass.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPCBObjectClass::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  host::PcbApi_QueryClass(direction, Handle, &IndexWord, &Byte1, &Byte2, &Name);

  if (direction == 0 || direction == 2) {
    TStatus status = host::PcbApi_RemoveAllMembersFromClass(Handle);
    for (const std::string& member : Members) {
      status = host::PcbApi_AddMemberToClass(Handle, TText255(member));
    }
    return status;
  }

  // The list is not emptied first: a second fetch appends the members again. Any status but 0
  // ends the list, and so does the bound.
  TStatus status = 0;
  for (int32_t i = 0; i < kMaxMembers; ++i) {
    TText255 member;
    status = host::PcbApi_GetMemberFromClassAt(Handle, i, &member);
    if (status != 0) break;
    Members.push_back(member.Str());
  }
  return status;
}

}  // namespace zz
