#include "online/servers.h"

#include "platform/ini_file.h"
#include "shell/config_keys.h"

namespace kad::online {

OnlineServers serversFromBrandFile(const platform::IniFile& brandIni) {
  OnlineServers servers;
  servers.update = brandIni.readString(config::kAtualiza, config::kServidor, "");
  if (servers.update.empty()) servers.update = KAD_UPDATE_SERVER;
  servers.package = brandIni.readString(config::kAtualiza, config::kServidorPacotes, "");
  if (servers.package.empty()) servers.package = KAD_PACKAGE_SERVER;
  return servers;
}

}  // namespace kad::online
