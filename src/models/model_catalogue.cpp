#include "models/model_catalogue.h"

namespace kad {
namespace {

using enum EquipmentModel;
using enum OptionState;

constexpr HardwareField kCpu{"EditCPU", "lblCPU", "CPU"};
constexpr HardwareField kBattery{"EditBateria", "lblBAT", nullptr};
constexpr HardwareField equip(const char* caption) { return {"EditEquip", "lblEQUIP", caption}; }
constexpr HardwareField sliver(const char* caption) { return {"EditSliver", "lblSLIVER", caption}; }
constexpr HardwareField kDisplay{"EditDisplay", "lblDISPLAY", "DISPLAY"};

constexpr unsigned kUsb = OffersUsb;
constexpr auto kSync = TextId::CapSyncDateTime;

// Indexed by the model's code.
const ModelInfo kModels[kModelCount] = {
    {OPM, "RadioOPM", kUsb, LinkMode::USB, {equip("LPC")}, 1, 13, kSync, true, true},
    {OTDR, "RadioOTDR", kUsb, LinkMode::USB, {equip("LPC"), sliver("OTDR")}, 2, 13, kSync, true, true},
    {OTDR160, "Radio160OTDR", kUsb, LinkMode::USB, {equip("LPC"), sliver("OTDR")}, 2, 13, kSync, true, true},
    {OTDR170, "Radio170OTDR", kUsb, LinkMode::USB, {equip("LPC"), sliver("OTDR")}, 2, 13, kSync, true, true},
    {E1, "RadioE1", OffersSerial | OffersEthernet | OffersUsb, LinkMode::USB, {kCpu, equip("TSET"), kBattery}, 3, 16,
     kSync, false, false},
    {T1, "RadioT1", OffersSerial | OffersEthernet, LinkMode::Serial, {kCpu, equip("TSET"), kBattery}, 3, 16, kSync,
     false, false},
    {TIM, "RadioTIM", OffersSerial | OffersUsb, LinkMode::Serial, {kCpu, equip("TIM"), kBattery}, 3, 16,
     TextId::CapUnlockFlash, false, false},
    {TIMSK, "RadioTIMSK", OffersSerial | OffersUsb, LinkMode::Serial, {kCpu, equip("TIM"), kBattery}, 3, 16,
     TextId::CapUnlockFlash, false, false},
    {DSL2, "RadioDSL2", OffersSerial | OffersEthernet, LinkMode::Serial, {kCpu, equip("SLIVER"), kBattery}, 3, 16,
     kSync, false, false},
    {CATV, "RadioCATV", kUsb, LinkMode::USB, {equip("LPC"), sliver("CATV")}, 2, 13, kSync, true, true},
    {MEGOMETRO, "RadioMEGOMETRO", kUsb, LinkMode::USB, {equip("LPC"), sliver("MEGOHM")}, 2, 13, kSync, true, true},
    {TP, "RadioTP", OffersEthernet, LinkMode::Ethernet,
     {kDisplay, equip("BASE"), kCpu, sliver("SLIVER"), kBattery}, 5, 16, kSync, false, false},
    {CPU206, "RadioFirmCpu206", kUsb, LinkMode::USB, {}, 0, 0, std::nullopt, true, false},
};

// Bits of kHardwareEdits.
constexpr unsigned kCpuBit = 1, kEquipBit = 2, kBatBit = 4, kDisplayBit = 8, kSliverBit = 16;
constexpr unsigned kThreeEdits = kCpuBit | kEquipBit | kBatBit;
constexpr unsigned kEquipSliver = kEquipBit | kSliverBit;

// Columns: EditTipoHard, hardware edits, client fields, botaoZ, chkApagar, chkAllPages, chkPageX,
// chkLoader, chkGravComPagCalib, chkDataHora.
const ServiceLayout kServiceLayouts[kModelCount] = {
    /* OPM */ {On, kEquipBit, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* OTDR */ {On, kEquipSliver, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* OTDR160 */ {On, kEquipSliver, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* OTDR170 */ {On, kEquipSliver, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* E1 */ {OffClear, kThreeEdits, false, ShownOn, OffClear, On, On, On, OffClear, On},
    /* T1 */ {OffClear, kThreeEdits, false, Off, OffClear, On, On, Keep, OffClear, On},
    /* TIM */ {OffClear, kThreeEdits, true, ShownOn, ShownOffClear, On, ShownOn, ShownOn, ShownOn, ShownOn},
    /* TIMSK */ {OffClear, kThreeEdits, true, Off, ShownOffClear, On, On, On, On, On},
    /* DSL2 */ {OffClear, kThreeEdits, false, Off, OffClear, On, On, On, OffClear, OffClear},
    /* CATV */ {On, kEquipSliver, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* MEGOMETRO */ {On, kEquipSliver, false, Off, OffClear, Off, OffClear, OffClear, On, OffClear},
    /* TP */ {OffClear, kThreeEdits | kDisplayBit | kSliverBit, false, Off, OffClear, OffChecked, OffClear, OffClear,
              OffClear, OffClear},
    /* CPU206 */ {Keep, 0, false, Off, OffClear, Off, OffClear, OffClear, OffClear, OffClear},
};

}  // namespace

const ModelInfo& modelInfo(EquipmentModel model) {
  return kModels[static_cast<std::size_t>(normalizedModel(model))];
}

const ServiceLayout& serviceLayout(EquipmentModel model) {
  return kServiceLayouts[static_cast<std::size_t>(normalizedModel(model))];
}

std::string codeFieldText(const std::string& field) { return field.substr(0, field.find('\0')); }

}  // namespace kad
