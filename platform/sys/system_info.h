#pragma once
// What the start-up check logs about the machine.
#include <string>

namespace plat {

// The kernel's name, release and machine, e.g. "Linux 6.1.0 x86_64"; empty when unknown.
std::string SystemDescription();

} // namespace plat
