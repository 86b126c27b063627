#include "shell/profile.h"

namespace kad {

ProfileKind profileFromName(std::string_view name) {
  if (name == "Engenharia" || name == "TesteProducao") return ProfileEngineering;
  if (name == "NEB") return ProfileNeb;
  if (name == "Cliente") return ProfileClient;
  if (name == "RG") return ProfileRG;
  return ProfileClient;
}

}  // namespace kad
