#include "host/ClientServices.h"

// Without Windows there is no host executable to look the services up in. A table that the
// Linux tool or a test registered stays in place.

namespace zz::client {

void BindClientServices() {}

}  // namespace zz::client
