#pragma once
#include <cstdint>

namespace kad {

// One signed byte; its persistent form is [Config] "Mode" of "KAD.ini".
enum class LinkMode : std::int8_t { Ethernet = 0, Serial = 1, USB = 2 };

}  // namespace kad
