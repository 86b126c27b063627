#pragma once

// Sections and keys of the two configuration files of the program directory.
namespace kad::config {

inline constexpr const char* kProgramIniName = "KAD.ini";
inline constexpr const char* kDornIniName = "DORN.ini";
inline constexpr const char* kNebIniName = "NEB.ini";

// "KAD.ini"
inline constexpr const char* kConfig = "Config";
inline constexpr const char* kUnit = "Unit";            // last selected model's catalogue name
inline constexpr const char* kMode = "Mode";            // "Serial", "Ethernet" or "USB"
inline constexpr const char* kPort = "Port";            // COM port number
inline constexpr const char* kDiretorio = "Diretorio";  // [Config]: list index; [entry]: folder
inline constexpr const char* kDiretorioSection = "Diretorio";  // per-model folders
inline constexpr const char* kErroSerial = "ErroSerial";
inline constexpr const char* kPagina = "Pagina";
inline constexpr const char* kDiretorios = "Diretorios";

// Folder keys of [Diretorio] in "KAD.ini" and list keys of [Equipment] in the brand file.
inline constexpr const char* kHardE1 = "HARD_E1";
inline constexpr const char* kHardDsl2 = "HARD_DSL2";
inline constexpr const char* kHardTim = "HARD_TIM";
inline constexpr const char* kHardTimsk = "HARD_TIMSK";
inline constexpr const char* kHardTp = "HARD_TP";
inline constexpr const char* kHardCatv = "HARD_CATV";
inline constexpr const char* kHardOtdr = "HARD_OTDR";  // shared by the three OTDR models
inline constexpr const char* kHardOpm = "HARD_OPM";
inline constexpr const char* kHardMegometro = "HARD_MEGOMETRO";
inline constexpr const char* kFirmCpu206 = "FIRM_CPU206";

// Brand file ("DORN.ini" or "NEB.ini")
inline constexpr const char* kLanguage = "Language";  // [Config]: "English" or "Portuguese"
inline constexpr const char* kAtualiza = "Atualiza";
inline constexpr const char* kAutomatico = "Automatico";  // "Sim", "N?o" or "" (not yet asked)
inline constexpr const char* kAutomaticYes = "Sim";
inline constexpr const char* kAutomaticNo = "N?o";
inline constexpr const char* kServidor = "Servidor";                // update server base address
inline constexpr const char* kServidorPacotes = "ServidorPacotes";  // package server base address
inline constexpr const char* kVersion = "Version";
inline constexpr const char* kVerKad = "VER_KAD_RQV527E1PU";
inline constexpr const char* kProgramVersion = "1.0";
inline constexpr const char* kVerE1 = "VER_E1";
inline constexpr const char* kVerDsl2 = "VER_DSL2";
inline constexpr const char* kVerTim = "VER_TIM";
inline constexpr const char* kVerTimsk = "VER_TIMSK";
inline constexpr const char* kVerTp = "VER_TP";
inline constexpr const char* kVerCatv = "VER_CATV";
inline constexpr const char* kVerMegometro = "VER_MEGOMETRO";
inline constexpr const char* kVerOtdr = "VER_OTDR";
inline constexpr const char* kVer160Otdr = "VER_160_OTDR";
inline constexpr const char* kVer170Otdr = "VER_170_OTDR";
inline constexpr const char* kVerOpm = "VER_OPM";
inline constexpr const char* kHardCpu206 = "HARD_CPU206";  // [Version] of the shared E1/TIM firmware
inline constexpr const char* kEquipment = "Equipment";

}  // namespace kad::config
