#include "shell/catalog.h"

#include <algorithm>
#include <cstdint>

namespace kad {
namespace {

// The four text columns of an entry, in this order.
enum Column : int { DornEnglish = 0, DornPortuguese = 1, NebEnglish = 2, NebPortuguese = 3 };
constexpr int kColumnCount = 4;

int columnOf(UiLanguage language, Brand brand) {
  const int languageColumn = language == UiLanguage::English ? DornEnglish : DornPortuguese;
  return brand == Brand::Neb ? languageColumn + NebEnglish : languageColumn;
}

// How an entry gets its NEB texts: the same as DORN (most entries), by the NEB renaming of its
// DORN texts, or written out in the table.
enum class BrandRule : std::uint8_t { Common, DerivedNeb, ExplicitNeb };

// The model-pair families: texts built from fixed parts and model names.
enum class Family : std::uint8_t { None, AskConn, ErrConn, AskOldFw };

// Model names used in the family texts. TIMSK is spelled "RQV638TIMSK" there, except in the
// errors on a TP unit, which use the caption spelling "RQV638TIMsk".
enum class PairName : std::uint8_t { None, E1, T1, TIM, TIMSK, TIMskCaption, DSL2, TP, TPPlus, Unknown };

constexpr const char* kNone = nullptr;  // no text in this column

// One catalog entry. Plain entries carry their texts; family entries carry the models they
// name and which columns have a text ('x') or none ('-'). Texts may hold the placeholders
// "{phone}" and "{web}" for the maker's support telephone number and web address.
struct Row {
  TextId id;
  std::string_view identifier;
  const char* english = kNone;  // DORN column for brand entries
  const char* portuguese = kNone;
  BrandRule brand = BrandRule::Common;
  const char* nebEnglish = kNone;
  const char* nebPortuguese = kNone;
  Family family = Family::None;
  PairName connected = PairName::None;
  PairName selected = PairName::None;
  std::string_view present;
  // An irregular spelling of the last model name of the text in one column.
  int irregularColumn = -1;
  const char* irregularName = kNone;
};

#define TEXT(key, en, pt) Row{.id = TextId::key, .identifier = #key, .english = en, .portuguese = pt}
#define BOTH(key, text) TEXT(key, text, text)
#define BRAND(key, en, pt) \
  Row{.id = TextId::key, .identifier = #key, .english = en, .portuguese = pt, .brand = BrandRule::DerivedNeb}
#define BRAND_NEB(key, en, pt, nebEn, nebPt)                                                           \
  Row{.id = TextId::key, .identifier = #key, .english = en, .portuguese = pt, .brand = BrandRule::ExplicitNeb, \
      .nebEnglish = nebEn, .nebPortuguese = nebPt}
#define PAIR(fam, key, conn, sel, columns, column, name)                                                \
  Row{.id = TextId::key, .identifier = #key, .family = Family::fam, .connected = PairName::conn,       \
      .selected = PairName::sel, .present = columns, .irregularColumn = column, .irregularName = name}
#define ASK_CONN(key, conn, sel, columns) PAIR(AskConn, key, conn, sel, columns, -1, kNone)
#define ASK_CONN_X(key, conn, sel, columns, column, name) PAIR(AskConn, key, conn, sel, columns, column, name)
#define ERR_CONN(key, conn, sel, columns) PAIR(ErrConn, key, conn, sel, columns, -1, kNone)
#define ERR_CONN_X(key, conn, sel, columns, column, name) PAIR(ErrConn, key, conn, sel, columns, column, name)
#define OLD_FW(key, model, columns) PAIR(AskOldFw, key, model, None, columns, -1, kNone)
#define OLD_FW_X(key, model, columns, column, name) PAIR(AskOldFw, key, model, None, columns, column, name)

// clang-format off
constexpr std::array<Row, kTextIdCount> kRows{{
  // Messages, titles, keywords and fragments
  TEXT(TitleError, "Error",
       "Erro"),
  TEXT(KwError, "error",
       "erro"),
  TEXT(MsgUnitPrefix, "Unit: ",
       "Equipamento: "),
  TEXT(MsgModePrefix, "Communication Mode: ",
       "Modo de comunicação: "),
  TEXT(MsgPortPrefix, "Port: COM",
       "Porta: COM"),
  TEXT(MsgTheFile, "The file ",
       "O arquivo "),
  TEXT(CapOpen, "Open",
       "Abrir"),
  TEXT(MsgTheName, "The name ",
       "O nome "),
  TEXT(MsgAlreadyExists, " already exists. Do you wish to replace it?",
       " já existe. Deseja substituir?"),
  TEXT(MsgSelectOption, "You must select one of the options.",
       "É necessário selecionar uma das opções."),
  TEXT(MsgSelectFolder, "You must select a folder!",
       "É necessário selecionar um diretório!"),
  TEXT(MsgNeedPage0Path, "You must inform the page0.tag file's path.",
       "É necessário informar a localização do arquvio page0.tag!"),
  TEXT(MsgNeedLineupPath, "You must inform the line-up file's path.",
       "É necessário informar a localização do arquvio de line-up!"),
  TEXT(MsgNeedCalibPath, "You must inform the calibration file's path.",
       "É necessário informar a localização do arquivo da calibração!"),
  TEXT(MsgNeedLoaderPath, "You must inform the loader.tag file's path.",
       "É necessário informar a localização do arquvio loader.tag!"),
  TEXT(MsgInvalidFolder, "Invalid folder! Check if the selected folder still exists.",
       "Diretório inválido! Verifique se o diretório selecionado ainda existe ou foi selecionado corretamente."),
  TEXT(MsgInvalidFile, "Invalid file! Check if the selected file still exists.",
       "Arquivo inválido! Verifique se o arquivo selecionado ainda existe ou foi selecionado corretamente."),
  TEXT(MsgLoaderSendError, "An error ocurred while sending the Loader.",
       "Um erro ocorreu ao enviar o Loader."),
  TEXT(MsgLoaderSent, "Loader successfully uploaded!",
       "Loader gravado com sucesso!"),
  TEXT(MsgPressF2On, "Press F2 + ON/ OFF on the unit to estabilish a connection...",
       "Por favor pressione F2 + ON/ OFF do equipamento para iniciar a conexão..."),
  TEXT(MsgUnitDataError, "An error ocurred while obtaining the unit's data.",
       "Ocorreu um erro ao obter os dados do equipamento."),
  TEXT(MsgModulesCheckError, "An error ocurred while checking for installed modules.",
       "Ocorreu um erro ao se verificar os módulos instalados."),
  TEXT(MsgServerStarted, "Server started, waiting for incoming connection...",
       "Servidor iniciado, aguardando conexão do cliente..."),
  TEXT(MsgWaitingUsb, "KAD waiting. Connect the unit in the USB port!",
       "KAD em espera. Conecte o equipamento à porta USB!"),
  BOTH(MsgOkSuffix, " OK!"),
  TEXT(MsgNotFoundAborted, " was not found! Operation aborted...",
       " não foi encontrado! Abortando operação..."),
  TEXT(MsgCheckingPages, "Checking pages...",
       "Verificando páginas..."),
  TEXT(MsgUploadError, "Error while uploading the unit!\nCheck the connection and the files.",
       "Erro ao gravar o equipamento! Verifique a comunicação e os arquivos necessários."),
  TEXT(MsgFolderOpenError, "Error opening folder! Check your folder settings.",
       "Erro ao abrir diretório! Verifique as configurações da pasta."),
  TEXT(MsgSelectedFolder, "Selected folder: ",
       "Diretório selecionado: "),
  TEXT(MsgModuleNotRemovable, "This module can't be uninstalled.",
       "Este módulo não pode ser desinstalado."),
  TEXT(MsgModuleNotInstalled, kNone,
       "Módulo não instalado. Instale o módulo antes de habilitar"),
  TEXT(MsgMaxFourModules, "You may install only 4 extra modules.",
       "Não é possível instalar mais de 4 módulos extras."),
  TEXT(MsgIncompatibleHardware, "Incompatible hardware.",
       "Hardware incompatível."),
  TEXT(TxtYes, "Yes",
       "Sim"),
  TEXT(TxtNo, "No",
       "Não"),
  TEXT(MsgIpPrefix, "IP ",
       "Cliente com IP "),
  TEXT(MsgHasConnected, " has connected.",
       " conectou."),
  TEXT(MsgTimeout, "Timeout error, try again.",
       "Ocorreu um erro de tempo de espera (timeout), tente novamente."),
  TEXT(MsgEthIncomplete, "Error getting data from the Ethernet. Incomplete packet.",
       "Erro ao receber informação via Ethernet. Pacote incompleto."),
  TEXT(MsgCheckingIntegrity, "Checking the page's integrity...",
       "Verificando integridade da página..."),
  TEXT(MsgFileCorrupted, "File corrupted!",
       "Arquivo corrompido!"),
  TEXT(MsgIntegrityOk, "Integrity OK!",
       "Integridade OK!"),
  TEXT(MsgWritingFlashData, "Writing data to the unit's FLASH...",
       "Gravando as informações na FLASH do equpemanto..."),
  TEXT(MsgFirstHalfOfPage, "The first half of page",
       "A primeira parte de page"),
  TEXT(MsgLastHalfOfPage, "The last half of page",
       "A segunda parte de page"),
  TEXT(MsgTagLoadedHalf, ".tag was loaded successfully.",
       ".tag foi transferida."),
  TEXT(MsgTagLoaded, ".tag was loaded successfully.",
       ".tag foi transferido."),
  TEXT(MsgWasLoaded, "  was loaded successfully.",
       " foi transferido."),
  TEXT(MsgFlashWritten, "FLASH successfully written!",
       "FLASH gravada com sucesso!"),
  BRAND(MsgVersionIncompatible, "The KDA version is incompatible with the firmware. Please update.",
       "A versão do equipamento é incompatível com o KAD. Por favor atualize."),
  TEXT(MsgVersionOk, "Version OK!",
       "Versão OK!"),
  TEXT(MsgDisconnectedSuffix, " disconnected.",
       " desconectou."),
  TEXT(MsgExtraModulesError, "Error while checking for extra modules installed.",
       "Erro ao verificar módulos extras instalados."),
  TEXT(MsgClientDataSent, "Client data sent.",
       "Dados do cliente enviados."),
  TEXT(MsgWritingPage0, "Writing page 0 to the unit's FLASH...",
       "Gravando página 0 na FLASH do equipamento..."),
  TEXT(MsgOperationComplete, "Operation complete.",
       "Operação finalizada."),
  TEXT(KwFailed, "failed",
       "falhou"),
  TEXT(MsgOpening, "Opening ",
       "Abrindo "),
  TEXT(MsgSoftwareForHw, "Software for hardware type: ",
       "Software para hardware: "),
  TEXT(MsgUnitHwType, "Unit's hardware type: ",
       "Hardware do Equipamento: "),
  TEXT(MsgAskGoOn, "Do you wish to go on with the update process?",
       "Deseja continuar com o processo de gravação?"),
  TEXT(MsgImpossibleContinue, "Impossible to continue.\n",
       "Impossível continuar gravação.\n"),
  TEXT(MsgCheckFolderHw, "Check if the selected folder corresponds to the desired hardware.",
       "Verifique se o diretório selecionado corresponde ao hardware desejado."),
  TEXT(MsgDataUploaded, "Data successfully uploaded!",
       "Dados gravados com sucesso!"),
  TEXT(MsgTheFilePage, "The file page",
       "O arquivo page"),
  TEXT(MsgTmsJumper, "Error sending data to the TMS. Check LOADER's jumper.",
       "Erro ao enviar dado para o TMS. Verifique o jumper do LOADER."),
  TEXT(MsgUnitCaps, "UNIT: ",
       "EQUIPAMENTO: "),
  TEXT(MsgTurnOnThenYes, "If these settings are right, turn the unit on and then press YES.",
       "Se tudo estiver correto, ligue o equipamento antes de pressionar SIM."),
  TEXT(MsgLoaderInit, "Initializing LOADER's upload...",
       "Iniciando gravação do LOADER..."),
  TEXT(MsgGathering, "Gathering unit's data, please wait...",
       "Obtendo informações do equipamento, por favor aguarde..."),
  TEXT(MsgDataObtained, "Data successfully obtained!",
       "Informações obtidas com sucesso!"),
  TEXT(MsgOpenPortError, "Error! Could not open a connection on ",
       "Erro! Não é possível abrir comunicação em "),
  TEXT(MsgOpenedOk, " opened successfully.",
       " aberta com sucesso."),
  TEXT(MsgConfigPortError, "Error! Impossible to configure serial port ",
       "Erro! Impossível configurar porta serial "),
  TEXT(MsgConfiguredOk, " configured successfully.",
       " configurada com sucesso."),
  TEXT(MsgTimeoutsError, "Error! Impossible to set parameters of timeout for port ",
       "Erro! Impossível configurar parâmetros de timeout da porta "),
  TEXT(MsgInitialized, " initialized.",
       " inicializada."),
  TEXT(MsgCommEstablished, "Communication established.",
       "Comunicação estabelecida."),
  BRAND(MsgCommFailedVersion, "Communication failed! Check if the KAD version is compatible with your unit.",
       "Comunicação falhou! Verifique se a versão do KAD é compatível com seu equipamento."),
  TEXT(MsgFlashCompromised, "FLASH integrity compromised. Do you wish to re-write it?",
       "Integridade da FLASH comprometida. Deseja gravar novamente?"),
  TEXT(MsgErrorOpening, "Error opening ",
       "Erro ao abrir "),
  TEXT(MsgOpenedSuffix, " opened.",
       " aberto."),
  BRAND_NEB(MsgSendingVersion, "Sending KAD software version...", "Enviando versão de programa...",
            "Sending NEB-UP software version...", "Enviando versão de programa..."),
  TEXT(MsgReadingFlash, "Reading unit's FLASH...",
       "Lendo a FLASH."),
  TEXT(MsgFlashRead, "FLASH successfully read.",
       "Memória FLASH lida com sucesso."),
  TEXT(MsgRamWriteStart, "Initiating the write process to unit's RAM...",
       "Iniciando gravação na RAM do equipamento..."),
  TEXT(MsgEthClosed, "Ethernet connection closed.",
       "Conexão ethernet finalizada."),
  TEXT(MsgSerialClosed, "Serial connection closed.",
       "Conexão serial finalizada."),
  BRAND(TxtProgramName, "KAD",
       "KAD"),
  TEXT(MsgNeedPageNumber, "You must fill in a page number.",
       "É necessário preencher com o número de uma página."),
  TEXT(MsgInvalidPageNumber, "Invalid page number!",
       "Número de página inválido!"),
  TEXT(MsgFolderLacksFiles, "The selected folder doesn't have the files for the chosen unit.",
       "O diretório selecionado não possui os arquivos do equipamento selecionado."),
  TEXT(MsgOperationAborted, "Operation aborted!",
       "Operação cancelada!"),
  TEXT(MsgSyncingDateTime, "Syncing Date and Time...",
       "Sincronizando a Data e a Hora..."),
  TEXT(MsgGravaFlaLoaded, "gravafla.tag successfully loaded. Grava Flash unlocked!",
       "O arquivo gravafla.tag foi enviado com sucesso. Grava Flash desbloqueado!"),
  TEXT(MsgGravaFlaError, "Error while loading gravafla.tag to the unit's RAM.",
       "Ocorreu um erro ao gravar gravafla.tag na memória RAM."),
  TEXT(MsgNeedName, "You must enter a name.",
       "É necessário escolher um nome."),
  BRAND(MsgErrNotTP, "ERROR! The connected unit isn't RQV183TP.\nOperation aborted...",
       "ERRO! O equipamento conectado não é o RQV183TP.\nAbortando operação..."),
  TEXT(MsgApplicationLoaded, "Application successfully loaded!",
       "Aplicativo enviado com sucesso!"),
  // The NEB texts name no telephone number; "\?" only keeps "??)" from reading as a trigraph.
  BRAND_NEB(MsgPagesNewerThanProgram,
            "The version of the page files are superior then KAD's version, please call the DORN technical support({phone}) and upgrade your KAD.",
            "Os arquivos de página são de uma versão superior ao KAD, por favor ligue para a assitência técnica da DORN({phone}) e atualize o seu KAD.",
            "The version of the page files are superior then NEB-UP's version, please call the NEB technical support(??? ??? ???\?) and upgrade your NEB-UP.",
            "Os arquivos de página são de uma versão superior ao NEB-UP, por favor ligue para a assitência técnica da NEB(???? ??? ???\?) e atualize o seu NEB-UP."),
  TEXT(MsgCheckFolderPrefix, "Check if the folder ",
       "Verifique se a pasta "),
  TEXT(MsgHaveProperFiles, " have the proper page files for the selected unit.",
       " contém os arquivos de página para o equipamento selecionado."),
  TEXT(MsgHaveMentionedFile, " have the mentioned file.",
       " contém o arquivo acima mencionado."),
  TEXT(TitleConfirm, "Confirm",
       "Confirmação"),
  TEXT(TitleWarning, "Warning",
       "Atenção"),
  TEXT(TitleInformation, "Information",
       "Informação"),
  TEXT(MsgSerialReload, "There was an error on the serial port and the program must reload.",
       "Ocorreu um erro na porta serial e o programa será reiniciado."),
  TEXT(MsgModulesOnePage, "It is not possible to modify the modules updating only one page.",
       "Não é possível modificar os módulos instalados ao gravar somente uma página."),
  TEXT(MsgAskAutoUpdate, "Do you wish to enable the automatic update check for new versions?",
       "Deseja habilitar a verificação automática de novas versões?"),
  TEXT(MsgOnlineSearchError, "ERROR!\nUnable to search for new versions online.\nCheck your internet connection.",
       "ERRO!\nNão foi possível a busca por novas versões online.\nVerifique a conexão com a internet."),
  TEXT(MsgServerConnectError, "ERROR!\nUnable to connect to the update server.\n",
       "ERRO!\nNão foi possível conectar com o servidor de atualizações.\n"),
  TEXT(MsgNoUpdates, "There is no new updates available.",
       "Não existem novas atualizações."),
  TEXT(MsgFilesNotFound, "The files were not found.",
       "Os arquivos não foram encontrados."),
  TEXT(MsgAskDownloadFiles, "Do you wish to download the files now?",
       "Deseja baixar os arquivos da internet agora?"),
  BRAND(TxtProgramVersion, "KAD version: ",
       "KAD versão: "),
  TEXT(MsgSupportPhone, "Support (Brazil): {phone}",
       "Suporte técnico: {phone}"),
  BOTH(TxtMakerWebAddress, "{web}"),
  TEXT(MsgDateTimeWillUpdate, "The date and the time will be updated during the update process.",
       "A data e a hora serão atualizadas durante a gravação."),
  TEXT(MsgAskManualSearch, "Do you want to manually search for the files?",
       "Deseja procurar os arquivos manualmente?"),
  TEXT(MsgSearching, "Searching...",
       "Procurando..."),
  TEXT(MsgCalibWillBeErased, "THE CALIBRATION IS GOING TO BE ERASED!\nCONTINUE ANYWAY?",
       "A CALIBRAÇÂO SERÁ APAGADA!\nDESEJA CONTINUAR?"),
  TEXT(MsgAskEraseCalib, "Do you wish to erase the unit's calibration?",
       "Deseja apagar a calibração do equipamento?"),
  TEXT(MsgCalibPageSelected, "The option to save the calibration page has been selected.\nThis will result in the loss of all previous calibration in the unit.\nDo you want to proceed?",
       "A opção de gravar a página de calibração foi selecionada.\nEssa opção acarreta na perda de toda calibração feita anteriormente.\nDeseja continuar?"),
  TEXT(MsgContactSupport, "Please contact our Technical Support for the correct way to proceed.",
       "Entre em contato com nosso suporte técnico e saiba como proceder."),
  TEXT(MsgNoHwVersion, "It was not possible to obtain the hardware version for this unit.",
       "Não foi possível obter o tipo de hardware do equipamento!"),
  TEXT(MsgAskVersion5OrPrior, "The version installed in the unit is equal (or prior) to the version number 5?",
       "A versão instalada no equipamento é a 5 ou anterior?"),
  TEXT(MsgOldSoftwareTo19, "The unit has an old software version!\nThe unit will be upgraded first to the software version 19.\nAfter this, do the update process again to install the newest version available.",
       "O equipamento possui uma versão antiga de software!\nPrimeiramente ele será atualizado para a versão 19.\nFeito isso, execute o processo de carga novamente para instalar a versão mais atual."),
  TEXT(MsgOldSoftwareTo14, "The unit has an old software version!\nThe unit will be upgraded first to the software version 14.\nAfter this, do the update process again.",
       "O equipamento possui uma versão antiga de software!\nPrimeiramente ele será atualizado para a versão 14.\nFeito isso, execute o processo de carga novamente."),
  TEXT(MsgAskDownload19, "Do you want to download the version 19 now?",
       "Deseja baixar a versão 19 agora?"),
  TEXT(MsgAskDownload14, "Do you want to download the version 14 now?",
       "Deseja baixar a versão 14 agora?"),
  TEXT(MsgCommErrorRetry, "Comunication error!\nCheck your connection and try again.",
       "Erro na comunicação!\nVerifique a conexão e tente novamente."),
  TEXT(MsgUnitNotResponding, "The unit is not responding, try again later.",
       "O equipamento não responde, tente novamente mais tarde."),
  TEXT(MsgUsbReadError, "Unable to read the necessary data from the unit.\nCheck your USB connection and try again.",
       "Não foi possível ler os dados do equipamento.\nVerifique a conexão com a USB e tente novamente"),
  TEXT(MsgUsbUnitNotFound, "The unit was not found.\nConnect the unit in the USB and try again.",
       "O equipamento não foi encontrado.\nConecte o equipamento à porta USB e tente novamente."),
  TEXT(MsgUsbWrongPurpose, "The connected unit is not configured for the selected update process!\nRestart the upgrade process after restarting the connection with the unit.",
       "O equipamento conectado não está configurado para a finalidade selecionada!\nReinicie o processo de atualização após reiniciar a conexão."),
  TEXT(MsgCouldNotOpenFile, "ERROR!\nCould not open the file",
       "ERRO!\nNão foi possível abrir o arquivo."),
  TEXT(MsgReadUnitError, "Error while trying to read data from the unit!",
       "Erro ao tentar obter os dados do equipamento!"),
  TEXT(MsgUsbPlugF3, "Plug the USB in the unit.\nTurn on the unit pressing F3.\nThen click OK to continue.",
       "Conecte a USB ao equipamento.\nLigue o equipamento pressionando F3.\nFeito isso, clique em OK para continuar."),
  TEXT(MsgUsbTurnOnNormally, "Turn the unit on normaly before connecting it via USB.\nFollow the update instructions.\nWhen this is done, press OK to continue.",
       "Ligue o equipamento normalmente antes de conectá-lo via USB.\nSiga as instruções de atualização nele contidas.\nFeito isso, clique em OK para continuar."),
  TEXT(MsgPressF2F3On, "Press F2 + F3 + ON/ OFF on the unit to estabilish a connection...",
       "Por favor pressione F2 + F3 + ON/ OFF do equipamento para iniciar a conexão..."),
  TEXT(MsgDeviceFull, "ERRO!\n No space left on the device.",
       "ERRO!\n Sem espaco na Flash."),
  TEXT(MsgUsbConnected, "Unit connected via USB.",
       "Equipamento conectado via USB."),
  TEXT(MsgUnitDisconnected, "Unit disconnected.",
       "Equipamento desconectado."),
  TEXT(MsgUsbClosed, "USB connection closed.",
       "Conexão USB finalizada."),
  TEXT(MsgWaitingConfirmation, "Waiting for update confirmation...",
       "Aguardando confirmação de envio..."),
  TEXT(MsgPagePrefix, "Page ",
       "Página "),
  TEXT(MsgSentSuffix, " successfully sent.",
       " enviada com sucesso."),
  TEXT(MsgErrNotSelectedCATV, "ERRO!\nThe selected unit isn't the RQV851CATV.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV851CATV.\nAbortando operação..."),
  TEXT(MsgErrNotSelectedOTDR150, "ERRO!\nThe selected unit isn't the RQV465OTDR.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV465OTDR.\nAbortando operação..."),
  TEXT(MsgErrNotSelectedOTDR160, "ERRO!\nThe selected unit isn't the RQV466OTDR.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV466OTDR.\nAbortando operação..."),
  TEXT(MsgErrNotSelectedOTDR170, "ERRO!\nThe selected unit isn't the RQV467OTDR.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV467OTDR.\nAbortando operação..."),
  TEXT(MsgErrNotSelectedOPM, "ERRO!\nThe selected unit isn't the RQV431-OPM.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV431-OPM.\nAbortando operação..."),
  TEXT(MsgErrNotSelectedMeg, "ERRO!\nThe selected unit isn't the RQV962M.\nOperation aborted...",
       "ERRO! O equipamento selecionado não é o RQV962M.\nAbortando operação..."),
  TEXT(MsgUpdatingUnit, "Updating unit, please wait...",
       "Atualizando equipamento, por favor aguarde..."),
  TEXT(MsgAskResume, "An error has ocurred in the serial communication during the last update process.\nDo you wish to continue from where it stopped?",
       "Ocorreu um erro na comunicação serial durante a última gravação.\nDeseja continuar a carga de onde ela parou?"),
  TEXT(MsgModulesActivationTwice, "Modules's activation may not work properly under this update.\nPlease update twice to activate modules.",
       "A liberação de módulos não irá funcionar nesta versão. Para liberar módulos, atualize novamente."),
  TEXT(MsgAskNewProgram, "There is a new version for the KAD.\nWould you like to download it now?",
       "Existe uma versão mais nova do KAD.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareE1, "There is a new version for RQV527E1's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV527E1.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareTIM, "There is a new version for RQV638TIM's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV638TIM.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareTIMSK, "There is a new version for RQV638TIMsk's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV638TIMsk.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareDSL2, "There is a new version for RQV749DSL2+'s software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV749DSL2+.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareTP, "There is a new version for RQV183TP's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV183TP.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareCATV, "There is a new version for RQV851CATV's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV851CATV.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareOTDR150, "There is a new version for RQV465OTDR's software.\nWould you like to download it now?",
       kNone),
  TEXT(MsgAskNewSoftwareOTDR160, "There is a new version for RQV466OTDR's software.\nWould you like to download it now?",
       kNone),
  TEXT(MsgAskNewSoftwareOTDR170, "There is a new version for RQV467OTDR's software.\nWould you like to download it now?",
       kNone),
  TEXT(MsgAskNewSoftwareOPM, "There is a new version for RQV431-OPM's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV431-OPM.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareMeg, "There is a new version for RQV962M's software.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do RQV962M.\nDeseja baixá-la agora?"),
  TEXT(MsgAskNewSoftwareFirmware, "There is a new version for the firmware\nused in both RQV527E1 and RQV638TIM.\nWould you like to download it now?",
       "Existe uma versão mais nova do software do Firmware\nusado nos equipamentos RQV527E1 e RQV638TIM.\nDeseja baixá-la agora?"),
  TEXT(MsgLocalFilesUpdated, "The local files were successfully updated!",
       "A atualização dos arquivos para a unidade\nselecionada foi concluída!"),
  TEXT(MsgUpdateFailedInternet, "The update process failed!\nCheck you internet connection...",
       "O processo de atualização falhou!\nVerifique a conexão com a internet..."),
  TEXT(MsgAskUpdateFiles, "It is necessary to update the files for the selected unit.\nWould you like to download them now?",
       "É necessário fazer uma atualização dos arquivos\ndo equipamento selecionado.\nDeseja baixá-los agora?"),
  TEXT(MsgUpdateNotNow, "The update process can not\nbe done at the present time",
       "O processo de gravação não\npode ser feito no momento."),
  TEXT(MsgUpdatingFilesE1, "Updating the files for the RQV527E1...",
       "Fazendo o download da versão do RQV527E1 disponível..."),
  TEXT(MsgUpdatingFilesTIM, "Updating the files for the RQV638TIM...",
       "Fazendo o download da versão do RQV638TIM disponível..."),
  TEXT(MsgUpdatingFilesTIMSK, "Updating the files for the RQV638TIMsk...",
       kNone),
  TEXT(MsgUpdatingFilesDSL2, "Updating the files for the RQV749DSL2+...",
       "Fazendo o download da versão do RQV749DSL2+ disponível..."),
  TEXT(MsgUpdatingFilesTP, "Updating the files for the RQV183TP...",
       "Fazendo o download da versão do RQV183TP disponível..."),
  TEXT(MsgUpdatingFilesCATV, "Updating the files for the RQV851CATV...",
       "Fazendo o download da versão do RQV851CATV disponível..."),
  TEXT(MsgUpdatingFilesOTDR150, "Updating the files for the RQV465OTDR...",
       "Fazendo o download da versão do RQV465OTDR disponível..."),
  TEXT(MsgUpdatingFilesOTDR160, "Updating the files for the RQV466OTDR...",
       "Fazendo o download da versão do RQV466OTDR disponível..."),
  TEXT(MsgUpdatingFilesOTDR170, "Updating the files for the RQV467OTDR...",
       "Fazendo o download da versão do RQV467OTDR disponível..."),
  TEXT(MsgUpdatingFilesOPM, "Updating the files for the RQV431-OPM...",
       "Fazendo o download da versão do RQV431-OPM disponível..."),
  TEXT(MsgUpdatingFilesMeg, "Updating the files for the RQV962M...",
       kNone),
  TEXT(MsgUpdatingFilesFirmware, "Updating the files for the firmware...",
       "Fazendo o download da versão do firmware disponível..."),
  TEXT(MsgUpdateFinished, "The update process finished!",
       "Atualização concluída com sucesso!"),
  TEXT(MsgUpdateFailed, "The update failed!",
       "A atualização falhou!"),
  TEXT(MsgSerialOnly, "This module is only available for serial connection...",
       "Esse modo só está disponível para gravação via serial..."),
  TEXT(MsgLineupNextLoad, "The unit's lineup will be updated in the next load process.",
       "A gravação do line-up no equipamento será feita na próxima carga."),
  TEXT(MsgUpdateNormally, "The unit will be updated normally.",
       "O equipamento será atualizado normalmente."),
  TEXT(MsgSpecialNextLoad, "The special mode will be activated in the next load process!",
       "O modo especial será ativado na próxima carga!"),
  TEXT(MsgSpecialHalted, "Special mode halted!",
       "Modo especial desativado!"),
  TEXT(MsgLoaderModeNextLoad, "The loader mode will be activated in the next load process!",
       "O modo loader será ativado na próxima carga!"),
  TEXT(MsgLoaderModeHalted, "Loader mode halted!",
       "Modo loader desativado!"),
  TEXT(MsgCannotUpgradeNow, "The unit cannot be upgraded at the moment!\n\nPlease contact our technical support\nfor further details.",
       "O equipamento não pode ser atualizado no momento!\n\nEntre em contato com nosso suporte técnico\npara mais detalhes: {phone}"),
  TEXT(MsgUsbUpdateFailed, "An error ocurred and the USB update failed...",
       "Ocorreu um erro ao tentar fazer a gravação pela USB..."),
  TEXT(MsgAskNoCalib, "Continue without uploading the calibration?",
       "Deseja continuar sem carregar a calibração?"),

  // Captions of the main window
  BRAND_NEB(CapMainTitle, "KAD - Dorn Uploader - RQV527PU v", "KAD - Dorn Uploader - RQV527PU v",
            "NEB-UP - NEB Uploader - RQV527PU v", "NEB-UP - NEB Uploader - RQV527PU v"),
  TEXT(CapMenuLanguage, "Select language", "Selecionar idioma"),
  TEXT(CapMenuHelp, "Help", "Ajuda"),
  TEXT(CapMenuAbout, "About", "Sobre"),
  BRAND_NEB(CapMenuProgramHelp, "Help", "Ajuda do KAD", "Help of NEB-UP", "Ajuda do NEB-UP"),
  TEXT(CapMenuConfig, "Configuration", "Configurações"),
  TEXT(CapMenuVerify, "Verify updates", "Verificar atualizações disponíveis"),
  TEXT(CapMenuNow, "Now", "Agora"),
  TEXT(CapMenuAlways, "Always", "Sempre"),
  TEXT(CapOptions, "Options", "Opções"),
  TEXT(CapOnlyPage, "Only page", "Somente página"),
  TEXT(CapAllPages, "All pages", "Todas as páginas"),
  TEXT(CapUploadLoader, "Upload LOADER", "Gravar LOADER"),
  TEXT(CapEraseCalib, "Erase calibration", "Apagar Calibração"),
  TEXT(CapLoadWithCalib, "Load w/ Calib. Page", "Gravar c/ Pag. Calib."),
  TEXT(CapSyncDateTime, "Sync Time/ Date", "Sinc. Data/ Hora"),
  TEXT(CapSelectModules, "Select Modules", "Selecionar Módulos"),
  TEXT(CapUpdateLineup, "Update line-up", "Atualiza line-up"),
  TEXT(CapUnlockFlash, "Unlock Flash", "Desbloq. Grava Flash"),
  TEXT(CapFolder, "Folder:", "Diretório:"),
  TEXT(CapAdd, "Add", "Adicionar"),
  TEXT(CapRemove, "Remove", "Remover"),
  TEXT(CapStartComm, "Start Communication", "Iniciar conexão"),
  TEXT(CapStartUpload, "Start upload", "Iniciar gravação"),
  TEXT(CapCancel, "Cancel", "Cancelar"),
  TEXT(CapEraseFields, "Erase fields", "Apagar Campos"),
  TEXT(CapCommStatus, "Communication Status", "Status da Comunicação"),
  TEXT(CapSave, "Save", "Salvar"),
  TEXT(CapClean, "Clean", "Limpar"),
  TEXT(CapHwVersion, "Hardware Version", "Versão de Hardware"),
  TEXT(CapBattery, "BATERY", "BATERIA"),
  TEXT(CapHardware, "HARDWARE", "HARDWARE"),
  TEXT(CapClientData, "Client Data", "Dados do Cliente"),
  TEXT(CapInstalledModules, "Installed Modules", "Módulos Instalados"),
  TEXT(CapClient, "CLIENT", "CLIENTE"),
  TEXT(CapSerialNumber, "SERIAL NUMBER", "NÚMERO DE SÉRIE"),
  TEXT(CapModule, "Module:", "Módulo:"),
  TEXT(CapInstalled, "Installed:", "Instalado:"),
  TEXT(CapCurrent, "Current:", "Atual:"),
  TEXT(CapTotal, "Total:", "Total:"),
  TEXT(CapUnit, "Unit", "Equipamento"),
  TEXT(CapCommMode, "Communication Mode", "Modo de Comunicação"),
  TEXT(CapSerialPort, "Serial Port", "Porta Serial"),

  // Model captions
  BRAND_NEB(CapModelE1, "RQV527E1", "RQV527E1", "NEB527T1", "NEB527T1"),
  BRAND(CapModelT1, "RQV527T1", "RQV527T1"),
  BRAND(CapModelTIM, "RQV638TIM", "RQV638TIM"),
  BRAND(CapModelTIMSK, "RQV638TIMsk", "RQV638TIMsk"),
  BRAND(CapModelDSL2, "RQV749DSL2+", "RQV749DSL2+"),
  BRAND(CapModelTP, "RQV183TP", "RQV183TP"),
  BRAND(CapModelCATV, "RQV851CATV", "RQV851CATV"),
  BRAND(CapModelOPM, "RQV431-OPM", "RQV431-OPM"),
  BRAND(CapModelMeg, "RQV962M", "RQV962M"),
  BRAND_NEB(CapModelFirmware, "Firmware E1/TIM", "Firmware E1/TIM", "E1/TIM Firmware", "Firmware E1/TIM"),
  BRAND_NEB(CapModelOTDR150, "RQV465-OTDR", "RQV465-OTDR", "NEB465OTDR", kNone),
  BRAND_NEB(CapModelOTDR160, "RQV466OTDR", "RQV466-OTDR", "NEB466OTDR", kNone),
  BRAND_NEB(CapModelOTDR170, "RQV467OTDR", "RQV467-OTDR", "NEB467OTDR", kNone),
  BRAND(CapModelTPPlus, "RQV183TP+", "RQV183TP+"),

  // Captions of the other windows
  TEXT(CapAddFolder, "Add folder", "Adicionar diretório de página"),
  TEXT(CapName, "Name:", "Nome:"),
  TEXT(CapTurnOnUnit, "Turn on the unit", "Ligue o equipamento"),
  BOTH(CapOk, "OK"),

  // Questions on the connected and the selected model
  ASK_CONN(MsgAskConnE1SelDSL2, E1, DSL2, "xxxx"),
  ASK_CONN(MsgAskConnE1SelTIM, E1, TIM, "xxxx"),
  ASK_CONN(MsgAskConnE1SelTIMSK, E1, TIMSK, "--x-"),
  ASK_CONN_X(MsgAskConnE1SelT1, E1, T1, "xxxx", DornEnglish, "RQE527T1"),
  ASK_CONN(MsgAskConnT1SelDSL2, T1, DSL2, "xxxx"),
  ASK_CONN(MsgAskConnT1SelTIM, T1, TIM, "xxxx"),
  ASK_CONN(MsgAskConnT1SelTIMSK, T1, TIMSK, "--x-"),
  ASK_CONN_X(MsgAskConnT1SelE1, T1, E1, "xxxx", DornEnglish, "RQE527E1"),
  ASK_CONN(MsgAskConnTIMSelDSL2, TIM, DSL2, "xxxx"),
  ASK_CONN(MsgAskConnTIMSelE1, TIM, E1, "xxxx"),
  ASK_CONN_X(MsgAskConnTIMSelT1, TIM, T1, "xxxx", DornEnglish, "RQE527T1"),
  ASK_CONN(MsgAskConnTIMSelTIMSK, TIM, TIMSK, "-xxx"),
  ASK_CONN(MsgAskConnTIMSKSelDSL2, TIMSK, DSL2, "--x-"),
  ASK_CONN(MsgAskConnTIMSKSelE1, TIMSK, E1, "--x-"),
  ASK_CONN(MsgAskConnTIMSKSelT1, TIMSK, T1, "--x-"),
  ASK_CONN(MsgAskConnTIMSKSelTIM, TIMSK, TIM, "--x-"),
  ASK_CONN(MsgAskConnDSL2SelE1, DSL2, E1, "xxxx"),
  ASK_CONN(MsgAskConnDSL2SelTIM, DSL2, TIM, "xxxx"),
  ASK_CONN(MsgAskConnDSL2SelTIMSK, DSL2, TIMSK, "--x-"),
  ASK_CONN_X(MsgAskConnDSL2SelT1, DSL2, T1, "xxxx", DornEnglish, "RQE527T1"),
  ASK_CONN(MsgAskConnUnknownSelE1, Unknown, E1, "xxxx"),
  ASK_CONN(MsgAskConnUnknownSelTIM, Unknown, TIM, "xxxx"),
  ASK_CONN(MsgAskConnUnknownSelTIMSK, Unknown, TIMSK, "--x-"),
  ASK_CONN(MsgAskConnUnknownSelDSL2, Unknown, DSL2, "xxxx"),
  ASK_CONN_X(MsgAskConnUnknownSelT1, Unknown, T1, "xxxx", DornEnglish, "RQE527T1"),

  // Errors on the connected and the selected model
  ERR_CONN(MsgErrConnE1SelDSL2, E1, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnE1SelTIM, E1, TIM, "xxxx"),
  ERR_CONN(MsgErrConnE1SelTIMSK, E1, TIMSK, "xxxx"),
  ERR_CONN_X(MsgErrConnE1SelT1, E1, T1, "xxxx", DornEnglish, "RQE527T1"),
  ERR_CONN(MsgErrConnT1SelDSL2, T1, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnT1SelTIM, T1, TIM, "xxxx"),
  ERR_CONN(MsgErrConnT1SelTIMSK, T1, TIMSK, "xxxx"),
  ERR_CONN_X(MsgErrConnT1SelE1, T1, E1, "xxxx", DornEnglish, "RQE527E1"),
  ERR_CONN(MsgErrConnTIMSelDSL2, TIM, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnTIMSelE1, TIM, E1, "xxxx"),
  ERR_CONN_X(MsgErrConnTIMSelT1, TIM, T1, "xx-x", DornEnglish, "RQE527T1"),
  ERR_CONN(MsgErrConnTIMSelTIMSK, TIM, TIMSK, "-x--"),
  ERR_CONN(MsgErrConnTIMSKSelDSL2, TIMSK, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnTIMSKSelE1, TIMSK, E1, "xxxx"),
  ERR_CONN_X(MsgErrConnTIMSKSelT1, TIMSK, T1, "xx-x", DornEnglish, "RQE527T1"),
  ERR_CONN(MsgErrConnTIMSKSelTIM, TIMSK, TIM, "xxxx"),
  ERR_CONN_X(MsgErrConnDSL2SelE1, DSL2, E1, "xxxx", NebEnglish, "NEB527T1"),
  ERR_CONN(MsgErrConnDSL2SelTIM, DSL2, TIM, "xxxx"),
  ERR_CONN(MsgErrConnDSL2SelTIMSK, DSL2, TIMSK, "xxxx"),
  ERR_CONN_X(MsgErrConnDSL2SelT1, DSL2, T1, "xx-x", DornEnglish, "RQE527T1"),
  ERR_CONN_X(MsgErrConnUnknownSelE1, Unknown, E1, "xxxx", NebEnglish, "NEB527T1"),
  ERR_CONN(MsgErrConnUnknownSelTIM, Unknown, TIM, "xxxx"),
  ERR_CONN(MsgErrConnUnknownSelTIMSK, Unknown, TIMSK, "xxxx"),
  ERR_CONN(MsgErrConnUnknownSelDSL2, Unknown, DSL2, "xxxx"),
  ERR_CONN_X(MsgErrConnUnknownSelT1, Unknown, T1, "x---", DornEnglish, "RQE527T1"),
  ERR_CONN(MsgErrConnTPSelE1, TP, E1, "xxxx"),
  ERR_CONN(MsgErrConnTPSelDSL2, TP, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnTPSelTIM, TP, TIM, "xxxx"),
  ERR_CONN(MsgErrConnTPSelTIMSK, TP, TIMskCaption, "xxxx"),
  ERR_CONN(MsgErrConnTPSelT1, TP, T1, "xxxx"),
  ERR_CONN(MsgErrConnTPPlusSelE1, TPPlus, E1, "xxxx"),
  ERR_CONN(MsgErrConnTPPlusSelDSL2, TPPlus, DSL2, "xxxx"),
  ERR_CONN(MsgErrConnTPPlusSelTIM, TPPlus, TIM, "xxxx"),
  ERR_CONN(MsgErrConnTPPlusSelTIMSK, TPPlus, TIMskCaption, "xxxx"),
  ERR_CONN(MsgErrConnTPPlusSelT1, TPPlus, T1, "xxxx"),

  // Questions on old firmware
  OLD_FW_X(MsgAskOldFwE1, E1, "xxxx", NebEnglish, "NEB527T1"),
  OLD_FW(MsgAskOldFwTIM, TIM, "xxxx"),
  OLD_FW(MsgAskOldFwTIMSK, TIMSK, "--x-"),
  OLD_FW(MsgAskOldFwDSL2, DSL2, "xxxx"),
  OLD_FW_X(MsgAskOldFwT1, T1, "xx-x", DornEnglish, "RQE527T1"),
}};
// clang-format on

#undef TEXT
#undef BOTH
#undef BRAND
#undef BRAND_NEB
#undef PAIR
#undef ASK_CONN
#undef ASK_CONN_X
#undef ERR_CONN
#undef ERR_CONN_X
#undef OLD_FW
#undef OLD_FW_X

// The table is indexed by identifier, and every family row says for each column whether it has
// a text.
consteval bool tableIsWellFormed() {
  for (int i = 0; i < kTextIdCount; ++i) {
    const Row& row = kRows[static_cast<std::size_t>(i)];
    if (row.id != static_cast<TextId>(i)) return false;
    if (row.family == Family::None) continue;
    if (row.present.size() != kColumnCount) return false;
    for (char mark : row.present) {
      if (mark != 'x' && mark != '-') return false;
    }
  }
  return true;
}
static_assert(tableIsWellFormed(), "catalog rows must follow the TextId order");

// Fixed parts of a family text: lead + first name [+ middle + second name] + tail.
struct FamilyParts {
  std::string_view lead;
  std::string_view middle;
  std::string_view tail;
};

FamilyParts familyParts(Family family, bool english) {
  switch (family) {
    case Family::AskConn:
      return english ? FamilyParts{"Connected unit: ", "\nSelected unit: ", "\nDo you wish to proceed?"}
                     : FamilyParts{"Equipamento conectado: ", "\nEquipamento selecionado: ", "\nDeseja continuar?"};
    case Family::ErrConn:
      return english ? FamilyParts{"ERROR! The connected unit isn't the selected one.\nConnected unit: ",
                                   "\nSelected unit: ", "\nPlease check the setup."}
                     : FamilyParts{"ERRO! O equipamento conectado difere do selecionado.\nEquipamento conectado: ",
                                   "\nEquipamento selecionado: ", "\nPor favor revise as configurações."};
    case Family::AskOldFw:
      return english ? FamilyParts{"The connected unit has an old firmware version.\nProceed with ", "", "?"}
                     : FamilyParts{"O equipamento conectado possui um software antigo.\nContinuar com ", "", "?"};
    case Family::None:
      break;
  }
  return {};
}

std::string_view dornPairName(PairName name, bool english) {
  switch (name) {
    case PairName::E1: return "RQV527E1";
    case PairName::T1: return "RQV527T1";
    case PairName::TIM: return "RQV638TIM";
    case PairName::TIMSK: return "RQV638TIMSK";
    case PairName::TIMskCaption: return "RQV638TIMsk";
    case PairName::DSL2: return "RQV749DSL2+";
    case PairName::TP: return "RQV183TP";
    case PairName::TPPlus: return "RQV183TP+";
    case PairName::Unknown: return english ? "Unknown" : "Desconhecido";
    case PairName::None: break;
  }
  return {};
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The NEB brand's form of a DORN text: the program's name, the maker's name and the prefix of
// the model names change.
std::string nebText(std::string_view dornText) {
  std::string text(dornText);
  replaceAll(text, "KAD", "NEB-UP");
  replaceAll(text, "KDA", "NEB-UP");
  replaceAll(text, "DORN", "NEB");
  replaceAll(text, "Dorn", "NEB");
  replaceAll(text, "RQV", "NEB");
  replaceAll(text, "RQE", "NEB");
  return text;
}

std::string familyText(const Row& row, int column) {
  const bool english = column == DornEnglish || column == NebEnglish;
  const bool neb = column >= NebEnglish;
  const auto nameOf = [&](PairName name) {
    const std::string_view dorn = dornPairName(name, english);
    return neb ? nebText(dorn) : std::string(dorn);
  };
  const bool twoNames = row.selected != PairName::None;
  std::string lastName = nameOf(twoNames ? row.selected : row.connected);
  if (row.irregularColumn == column) lastName = row.irregularName;

  const FamilyParts parts = familyParts(row.family, english);
  std::string text(parts.lead);
  if (twoNames) {
    text += nameOf(row.connected);
    text += parts.middle;
  }
  text += lastName;
  text += parts.tail;
  return text;
}

std::optional<std::string> optionalText(const char* text) {
  return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

std::optional<std::string> derivedNeb(const char* dornText) {
  return dornText == nullptr ? std::nullopt : std::optional<std::string>(nebText(dornText));
}

std::array<std::optional<std::string>, kColumnCount> rowTexts(const Row& row) {
  std::array<std::optional<std::string>, kColumnCount> texts;
  if (row.family != Family::None) {
    for (int column = 0; column < kColumnCount; ++column) {
      if (row.present[static_cast<std::size_t>(column)] == 'x') texts[column] = familyText(row, column);
    }
    return texts;
  }
  texts[DornEnglish] = optionalText(row.english);
  texts[DornPortuguese] = optionalText(row.portuguese);
  switch (row.brand) {
    case BrandRule::Common:
      texts[NebEnglish] = texts[DornEnglish];
      texts[NebPortuguese] = texts[DornPortuguese];
      break;
    case BrandRule::DerivedNeb:
      texts[NebEnglish] = derivedNeb(row.english);
      texts[NebPortuguese] = derivedNeb(row.portuguese);
      break;
    case BrandRule::ExplicitNeb:
      texts[NebEnglish] = optionalText(row.nebEnglish);
      texts[NebPortuguese] = optionalText(row.nebPortuguese);
      break;
  }
  return texts;
}

bool isValid(TextId id) {
  const int index = static_cast<int>(id);
  return index >= 0 && index < kTextIdCount;
}

}  // namespace

Catalog::Catalog(CatalogSettings settings) : current_(kTextIdCount) {
  columns_.reserve(kTextIdCount);
  for (const Row& row : kRows) {
    Columns texts = rowTexts(row);
    // The contact data goes in last, so that the NEB renaming never touches it.
    for (auto& text : texts) {
      if (!text) continue;
      replaceAll(*text, "{phone}", settings.supportPhone);
      replaceAll(*text, "{web}", settings.webAddress);
    }
    columns_.push_back(std::move(texts));
  }
}

void Catalog::fill(UiLanguage language, Brand brand) {
  const int column = columnOf(language, brand);
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (const auto& text = columns_[i][column]) current_[i] = *text;
  }
}

std::string Catalog::text(TextId id) const {
  if (!isValid(id)) return {};
  std::lock_guard lock(mutex_);
  return current_[static_cast<std::size_t>(id)];
}

std::string_view Catalog::identifier(TextId id) {
  return isValid(id) ? kRows[static_cast<std::size_t>(id)].identifier : std::string_view{};
}

std::optional<TextId> Catalog::fromIdentifier(std::string_view name) {
  const auto found = std::find_if(kRows.begin(), kRows.end(), [&](const Row& row) { return row.identifier == name; });
  if (found == kRows.end()) return std::nullopt;
  return found->id;
}

namespace {

// Which of its two entries a control takes, or whether it is captioned at all.
enum class CaptionRule : std::uint8_t {
  Always,
  ConfigMenu,         // left alone in the engineering build and the repair-shop build with TIM
  LineupForCatv,      // second entry for CATV
  SyncUnlessTim,      // first entry for TIM and TIMSK
  EraseForService,    // first entry in the engineering build and the repair-shop build with TIM
};

struct CaptionRow {
  std::string_view control;
  TextId first;
  CaptionRule rule = CaptionRule::Always;
  TextId second = TextId::Count;
};

constexpr CaptionRow kMainWindowCaptions[] = {
    {"Lingua1", TextId::CapMenuLanguage},
    {"Ajuda1", TextId::CapMenuHelp},
    {"Sobre1", TextId::CapMenuAbout},
    {"AjudadoKAD1", TextId::CapMenuProgramHelp},
    {"Configura", TextId::CapMenuConfig, CaptionRule::ConfigMenu},
    {"Ver_atualiz", TextId::CapMenuVerify, CaptionRule::ConfigMenu},
    {"Atualiz_Agora", TextId::CapMenuNow, CaptionRule::ConfigMenu},
    {"Atualiz_sempre", TextId::CapMenuAlways, CaptionRule::ConfigMenu},
    {"GroupOpcoes", TextId::CapOptions},
    {"chkPageX", TextId::CapOnlyPage},
    {"chkAllPages", TextId::CapAllPages},
    {"chkLoader", TextId::CapUploadLoader},
    {"chkApagar", TextId::CapEraseCalib},
    {"chkGravComPagCalib", TextId::CapLoadWithCalib},
    {"chkSincDataHora", TextId::CapSyncDateTime},
    {"chkSelModulos", TextId::CapSelectModules, CaptionRule::LineupForCatv, TextId::CapUpdateLineup},
    {"ButEspecial", TextId::CapUnlockFlash, CaptionRule::SyncUnlessTim, TextId::CapSyncDateTime},
    {"Label1", TextId::CapFolder},
    {"ButAdicionar", TextId::CapAdd},
    {"ButRemover", TextId::CapRemove},
    {"ButIniciar", TextId::CapStartComm},
    {"ButPaginas", TextId::CapStartUpload},
    {"ButCancelar", TextId::CapCancel},
    {"ButApagaCampos", TextId::CapEraseFields, CaptionRule::EraseForService, TextId::CapSyncDateTime},
    {"GroupStatus", TextId::CapCommStatus},
    {"ButSalvar", TextId::CapSave},
    {"ButLimpar", TextId::CapClean},
    {"GroupHardware", TextId::CapHwVersion},
    {"lblBAT", TextId::CapBattery},
    {"lblTipoHard", TextId::CapHardware},
    {"GroupCliente", TextId::CapClientData},
    {"GroupModulos", TextId::CapInstalledModules},
    {"Label4", TextId::CapClient},
    {"Label5", TextId::CapSerialNumber},
    {"Label2", TextId::CapModule},
    {"Label3", TextId::CapInstalled},
    {"lblAtual", TextId::CapCurrent},
    {"lblTotal", TextId::CapTotal},
    {"GroupEquip", TextId::CapUnit},
    {"GroupModo", TextId::CapCommMode},
    {"GroupCOM", TextId::CapSerialPort},
    {"RadioE1", TextId::CapModelE1},
    {"RadioT1", TextId::CapModelT1},
    {"RadioTIM", TextId::CapModelTIM},
    {"RadioTIMSK", TextId::CapModelTIMSK},
    {"RadioDSL2", TextId::CapModelDSL2},
    {"RadioTP", TextId::CapModelTP},
    {"RadioCATV", TextId::CapModelCATV},
    {"RadioOPM", TextId::CapModelOPM},
    {"RadioMEGOMETRO", TextId::CapModelMeg},
    {"RadioFirmCpu206", TextId::CapModelFirmware},
};

// Indexed by the model's code.
constexpr TextId kModelCaptions[kModelCount] = {
    TextId::CapModelOPM,  TextId::CapModelOTDR150, TextId::CapModelOTDR160, TextId::CapModelOTDR170,
    TextId::CapModelE1,   TextId::CapModelT1,      TextId::CapModelTIM,     TextId::CapModelTIMSK,
    TextId::CapModelDSL2, TextId::CapModelCATV,    TextId::CapModelMeg,     TextId::CapModelTP,
    TextId::CapModelFirmware,
};

}  // namespace

std::vector<std::pair<std::string, TextId>> mainWindowCaptions(ProfileKind profile, EquipmentModel model) {
  model = normalizedModel(model);
  const bool tim = model == EquipmentModel::TIM;
  const bool serviceCaptions = profile == ProfileEngineering || (profile == ProfileRG && tim);

  std::vector<std::pair<std::string, TextId>> captions;
  for (const CaptionRow& row : kMainWindowCaptions) {
    bool useFirst = true;
    switch (row.rule) {
      case CaptionRule::Always:
        break;
      case CaptionRule::ConfigMenu:
        if (serviceCaptions) continue;
        break;
      case CaptionRule::LineupForCatv:
        useFirst = model != EquipmentModel::CATV;
        break;
      case CaptionRule::SyncUnlessTim:
        useFirst = tim || model == EquipmentModel::TIMSK;
        break;
      case CaptionRule::EraseForService:
        useFirst = serviceCaptions;
        break;
    }
    captions.emplace_back(std::string(row.control), useFirst ? row.first : row.second);
  }
  return captions;
}

TextId modelCaptionId(EquipmentModel model) {
  return kModelCaptions[static_cast<std::size_t>(normalizedModel(model))];
}

}  // namespace kad
