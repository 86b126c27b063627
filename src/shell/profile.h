#pragma once
#include <string_view>

namespace kad {

// The build profile decides the brand and which controls the main window offers.
enum class ProfileKind : int { ProfileClient = 0, ProfileRG = 1, ProfileNeb = 2, ProfileEngineering = 3 };
using enum ProfileKind;

enum class Brand { Dorn, Neb };

enum class UiLanguage : int { English = 0, Portuguese = 1 };

// Names are compared case-sensitively; an unknown name is the customer build.
ProfileKind profileFromName(std::string_view name);

inline Brand brandOf(ProfileKind profile) { return profile == ProfileNeb ? Brand::Neb : Brand::Dorn; }

// The brand file's [Config] "Language": only "English" (exactly) selects English.
inline UiLanguage languageFromText(std::string_view text) {
  return text == "English" ? UiLanguage::English : UiLanguage::Portuguese;
}

}  // namespace kad
