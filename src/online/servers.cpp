#include "online/servers.h"

#include "platform/ini_file.h"

namespace kad::online {

OnlineServers serversFromBrandFile(const platform::IniFile& brandIni) {
  OnlineServers servers;
  servers.update = brandIni.readString("Atualiza", "Servidor", "");
  if (servers.update.empty()) servers.update = KAD_UPDATE_SERVER;
  servers.package = brandIni.readString("Atualiza", "ServidorPacotes", "");
  if (servers.package.empty()) servers.package = KAD_PACKAGE_SERVER;
  return servers;
}

}  // namespace kad::online
