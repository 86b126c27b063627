#pragma once
#include <filesystem>

namespace kad {

// The device behind "COM" + n (n = 1..8): the environment's KAD_COMn when set, else
// /dev/ttyS(n-1).
std::filesystem::path comPortDevicePath(int port);

// A port button is offered when its device exists.
bool ComPortAvailable(int port);

}  // namespace kad
