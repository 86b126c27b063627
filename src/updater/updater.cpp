#include "updater/updater.h"

#include <array>

#include "online/servers.h"
#include "online/version_list.h"
#include "platform/http_client.h"
#include "platform/ini_file.h"
#include "platform/zip_extract.h"
#include "shell/config_keys.h"

namespace kad::updater {

namespace fs = std::filesystem;

std::string updaterText(UpdText id, UiLanguage language) {
  struct Texts {
    const char* english;
    const char* portuguese;
  };
  static const std::array<Texts, 8> texts = {{
      {"Updating KAD", "Atualizando KAD"},
      {"KAD will download the new version now.", "O KAD vai baixar a nova versão agora."},
      {"ERRO!\nUnable to search for new versions online.\nCheck your internet connection.",
       "ERRO!\nNão foi possível a busca por novas versões online.\nVerifique a conexão com a internet."},
      {"ERRO!\nUnable to connect to the server...\n", "ERRO!\nNão foi possível conectar com o servidor de atualizações....\n"},
      {"The update was successful!\nThe program will restart.",
       "A atualização foi concluída com sucesso!\nO KAD será reiniciado."},
      {"The update failed...", "A atualização falhou..."},
      {"Error", "Erro"},
      {"Information", "Informação"},
  }};
  const auto& entry = texts.at(static_cast<std::size_t>(id));
  return language == UiLanguage::English ? entry.english : entry.portuguese;
}

TForm1::TForm1(UpdaterEnvironment environment) : env_(std::move(environment)) {
  const platform::IniFile brandIni(env_.programDir / config::kDornIniName);
  language_ = languageFromText(brandIni.readString(config::kConfig, config::kLanguage, ""));

  auto& root = form.root();
  root.setCaption("KAD");
  root.setBounds({0, 0, 265, 63});
  form.add(ui::ControlKind::Label, "Label1", nullptr, {8, 4, 250, 13}, text(UpdText::LblUpdating));
  auto& bar = form.add(ui::ControlKind::ProgressBar, "ProgressBar1", nullptr, {8, 20, 250, 17});
  bar.setMax(100);
  form.add(ui::ControlKind::Label, "Label2", nullptr, {118, 42, 30, 13});
  stepBar(0);
}

void TForm1::stepBar(int position) {
  form["ProgressBar1"].setPosition(position);
  form["Label2"].setCaption(std::to_string(position) + "%");
}

void TForm1::FormActivate() {
  if (updateRan_) return;
  updateRan_ = true;

  env_.dialogs.showOk(text(UpdText::TitleInformation), text(UpdText::MsgWillDownload), ui::Icon::Information);
  for (int position = 1; position <= 99; ++position) stepBar(position);

  if (download()) {
    stepBar(100);
    env_.dialogs.showOk(text(UpdText::TitleInformation), text(UpdText::MsgSuccess), ui::Icon::Information);
  } else {
    stepBar(0);
    env_.dialogs.showOk(text(UpdText::TitleError), text(UpdText::MsgFailed), ui::Icon::Information);
  }
  // The main program is started in both outcomes; the updater ends.
  env_.loop.quit();
  env_.processes.start(env_.programDir / kMainProgram, {}, env_.programDir);
}

// Fetches the version list and the program package, unpacks the package over the program
// directory and records the new version. Only a whole, successful answer counts; the
// version is written only when the package was unpacked whole.
bool TForm1::download() {
  platform::IniFile brandIni(env_.programDir / config::kDornIniName);
  const auto servers = online::serversFromBrandFile(brandIni);
  const fs::path package = env_.programDir / kProgramPackageFile;

  platform::HttpResult listResult = platform::HttpResult::NoHandle;
  platform::HttpResult packageResult = platform::HttpResult::NoHandle;
  std::string list;
  bool unpacked = false;
  ui::runWork(runTransfer, [&] {
    platform::HttpClient http(kUpdaterAgent);
    listResult = http.fetchText(platform::joinUrl(servers.update, std::string(online::kVersionListPath)), list,
                                online::kMaxVersionListBytes);
    if (listResult != platform::HttpResult::Ok) return;
    packageResult = http.download(platform::joinUrl(servers.update, kProgramPackagePath), package);
    if (packageResult != platform::HttpResult::Ok) return;
    unpacked = platform::extractZip(package, env_.programDir).ok();
    std::error_code ignored;
    fs::remove(package, ignored);
  });

  if (listResult == platform::HttpResult::NoHandle) {
    env_.dialogs.showOk(text(UpdText::TitleError), text(UpdText::MsgNoInternet), ui::Icon::Information);
    return false;
  }
  if (listResult != platform::HttpResult::Ok || packageResult != platform::HttpResult::Ok) {
    env_.dialogs.showOk(text(UpdText::TitleError), text(UpdText::MsgNoServer), ui::Icon::Information);
    return false;
  }
  if (!unpacked) return false;

  // The value line is taken without its CR, or every later check would see a new version.
  std::string_view cursor = list;
  const std::string version = online::takeEntryValue(cursor, online::kVersionEntries[online::RowProgram].entryName);
  brandIni.writeString(config::kVersion, config::kVerKad, version);
  return true;
}

}  // namespace kad::updater
