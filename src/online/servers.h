#pragma once
#include <string>

namespace kad::platform {
class IniFile;
}

namespace kad::online {

// The two servers the program talks to, as base addresses ("http://host:port") to which
// the fixed paths are appended: the update server (version list, program package) and the
// package server (firmware packages). The brand file's [Atualiza] "Servidor" and
// "ServidorPacotes" override the addresses compiled into the program.
struct OnlineServers {
  std::string update;
  std::string package;
};

OnlineServers serversFromBrandFile(const platform::IniFile& brandIni);

}  // namespace kad::online
