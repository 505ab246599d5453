#include "platform/sys/system_info.h"

#include <sys/utsname.h>

namespace plat {

std::string SystemDescription() {
    struct utsname u;
    if (::uname(&u) != 0) return {};
    return std::string(u.sysname) + " " + u.release + " " + u.machine;
}

} // namespace plat
