#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/link_mode.h"
#include "models/equipment_model.h"
#include "shell/catalog.h"

namespace kad {

// What the connected unit said about itself, as the connection judges it against the model.
struct UnitIdentity {
  static constexpr std::uint16_t kOldFirmware = 31104;  // a unit whose firmware reports no identity

  std::uint16_t UnitFamilyCode = 0;  // 200 E1, 201 T1, 202 E1 of the TT line, 300 TIM, 301 TIMSK, 400 DSL2+
  std::uint16_t UnitRevision = 0;    // the E1/T1 distinction is only made from revision 2 on
  bool FamilyCode202 = false;        // selects the "HARD_TT_" page-set folders
  int usbModelByte = 0;              // model byte of a USB unit's "firmware.bin"
  std::string usbCodeField;          // its four-byte code field, as read (may hold zero bytes)
  std::array<std::uint16_t, 2> checkWords{};  // the two check words the write preparation compares
};

// The link modes a model offers, as a set.
enum LinkSet : unsigned { OffersEthernet = 1, OffersSerial = 2, OffersUsb = 4 };
inline unsigned linkBit(LinkMode mode) { return 1u << static_cast<unsigned>(mode); }

// A hardware-version field as a model shows it: the edit, its label and the label's text
// (a fixed text, or the catalog's battery caption when `literal` is null).
struct HardwareField {
  const char* edit = nullptr;
  const char* label = nullptr;
  const char* literal = nullptr;
};

// One row of the model catalogue.
struct ModelInfo {
  EquipmentModel model;
  const char* radio;  // the choice control
  unsigned links;     // LinkSet bits offered
  LinkMode forced;    // selected when the current mode is not offered
  std::array<HardwareField, 5> fields;  // top to bottom; unused slots have a null edit
  int fieldCount;
  int clientNameLength;                  // 0: the client fields are hidden
  std::optional<TextId> especialCaption;  // caption of ButEspecial; none leaves it
  bool checksAllPages;                    // models written as one image always write everything
  bool usbOnly;                           // the models a USB unit's model byte identifies
};

const ModelInfo& modelInfo(EquipmentModel model);

// How the engineering build (and the repair-shop build for TIM, TIMSK and OPM) sets an option
// box or field when a model is selected.
enum class OptionState : std::uint8_t {
  Keep,           // as the interlocks leave it
  On,             // enabled
  Off,            // disabled
  OffClear,       // disabled and unchecked
  OffChecked,     // disabled and checked
  ShownOn,        // shown and enabled
  ShownOffClear,  // shown, disabled and unchecked
};

struct ServiceLayout {
  OptionState tipoHard;  // EditTipoHard; OffClear also clears its text
  unsigned hardwareEdits;  // bit i enables kHardwareEdits[i], the others are disabled
  bool clientFieldsOn;     // client name and serial number enabled
  OptionState botaoZ;      // ShownOn or hidden (Off)
  OptionState chkApagar, chkAllPages, chkPageX, chkLoader, chkGravComPagCalib, chkDataHora;
};

const ServiceLayout& serviceLayout(EquipmentModel model);

// The five hardware edits and their labels, in form order.
inline constexpr const char* kHardwareEdits[] = {"EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver"};
inline constexpr const char* kHardwareLabels[] = {"lblCPU", "lblEQUIP", "lblBAT", "lblDISPLAY", "lblSLIVER"};

// The text of a fixed-size code field: its bytes up to the first zero byte.
std::string codeFieldText(const std::string& field);

}  // namespace kad
