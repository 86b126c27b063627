#pragma once

namespace kad {

// The controls "Estabelecer Conexão" locks while a connection is up: the thirteen model
// buttons, the link-mode buttons and the eight port buttons.
inline constexpr const char* kConnectionLockedControls[] = {
    "RadioE1",   "RadioT1",     "RadioTIM",      "RadioTIMSK", "RadioDSL2",    "RadioTP",      "RadioCATV",
    "RadioOPM",  "RadioMEGOMETRO", "RadioOTDR",  "Radio160OTDR", "Radio170OTDR", "RadioFirmCpu206",
    "RadioSerial", "RadioEthernet", "RadioUSB",  "RadioCOM1",  "RadioCOM2",    "RadioCOM3",    "RadioCOM4",
    "RadioCOM5", "RadioCOM6",   "RadioCOM7",     "RadioCOM8"};

}  // namespace kad
