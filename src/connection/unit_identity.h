#pragma once
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace kad {

// What the connected unit has told about itself. The words are read on one thread and looked
// at on others, so the whole record sits behind a lock.
class UnitIdentity {
 public:
  struct Words {
    std::uint16_t familyCode = 0;        // UnitFamilyCode
    std::uint16_t revision = 0;          // UnitRevision: the unit's page-format version
    std::array<std::uint16_t, 2> checkWords{};
    std::uint16_t hardwareType = 0;      // UnitHardwareType
  };

  Words words() const {
    std::lock_guard lock(mutex_);
    return words_;
  }
  void setWords(const Words& words) {
    std::lock_guard lock(mutex_);
    words_ = words;
  }
  // The hardware type as text ("pc", "a", "nd"), compared without regard to case.
  std::string hardwareTypeText() const {
    std::lock_guard lock(mutex_);
    return hardwareTypeText_;
  }
  void setHardwareTypeText(std::string text) {
    std::lock_guard lock(mutex_);
    hardwareTypeText_ = std::move(text);
  }

 private:
  mutable std::mutex mutex_;
  Words words_;
  std::string hardwareTypeText_;
};

}  // namespace kad
