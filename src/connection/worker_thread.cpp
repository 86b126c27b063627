// The upload thread, "Cancelar" and the one routine that ends every connection.
#include "connection/worker_thread.h"

#include "shell/kad_main.h"
#include "shell/main_window_form.h"

namespace kad {
namespace {

const char* const kModelButtons[] = {"RadioE1",        "RadioT1",      "RadioTIM",     "RadioTIMSK", "RadioDSL2",
                                     "RadioTP",        "RadioCATV",    "RadioOPM",     "RadioMEGOMETRO",
                                     "RadioOTDR",      "Radio160OTDR", "Radio170OTDR", "RadioFirmCpu206"};
const char* const kHardwareFields[] = {"EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver"};

bool isLineTesterOrTim(EquipmentModel model) {
  const int code = static_cast<int>(model);
  return code >= static_cast<int>(EquipmentModel::E1) && code <= static_cast<int>(EquipmentModel::DSL2);
}

// Models written as one image, and the shared firmware: no page options after a connection.
bool withoutPageOptions(EquipmentModel model) {
  return model == EquipmentModel::OPM || isOtdrModel(model) || model == EquipmentModel::CATV ||
         model == EquipmentModel::MEGOMETRO || model == EquipmentModel::CPU206;
}

}  // namespace

void WorkerThread::start(std::function<void()> body) {
  join();
  std::lock_guard lock(mutex_);
  running_ = true;
  thread_ = std::thread([this, body = std::move(body)] {
    body();
    running_ = false;
  });
}

void WorkerThread::join() {
  std::thread finished;
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) return;
    finished = std::move(thread_);
  }
  finished.join();
}

bool TKadMain::editedByOperatorKeepsFields() const {
  return profile() == ProfileEngineering || (profile() == ProfileRG && currentModel.load() == EquipmentModel::TIM);
}

void TKadMain::startUploadThread() {
  uploadThread.start([this] { ThreadCancelaExecute(); });
}

void TKadMain::ThreadCancelaExecute() {
  connection.connectionClosed = false;
  if (RunUpload()) return;
  if (connection.userCancelled.exchange(false)) {
    dialogs().messageBox(text(TextId::TitleWarning), text(TextId::MsgOperationAborted), ui::Buttons::Ok,
                         ui::Icon::Warning);
  } else {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgUploadError), ui::Buttons::Ok, ui::Icon::Error);
    appendLog(text(TextId::MsgUploadError));
  }
  EndConnection();
}

void TKadMain::ButCancelarClick() {
  connection.userCancelled = true;
  EndConnection();
}

void TKadMain::EndConnection() {
  // Only the first call after a connect does the work; the flag is taken atomically because
  // the main thread (cancel) and the upload thread may both get here.
  if (connection.connectionClosed.exchange(true)) return;
  auto& f = form;
  const EquipmentModel model = normalizedModel(currentModel.load());
  const bool keepsFields = editedByOperatorKeepsFields();

  f["ProgressAtual"].setPosition(0);
  f["ProgressTotal"].setPosition(0);
  updatePercentLabels();

  if (keepsFields) {
    for (const char* field : kOperatorFields) {
      if (f[field].color() == ui::colors::Lime) f[field].setColor(ui::colors::Aqua);
    }
  } else {
    for (const char* field : kHardwareFields) f[field].setText("");
    f["EditNomeCliente"].setText("");
    f["MaskNSerie"].setText(kEmptySerialNumber);
    f["EditTipoHard"].setText("");
  }

  if (linkMode.load() == LinkMode::USB) appendLog(text(TextId::MsgUsbClosed));

  f["LabelStatus"].setCaption("");

  if (keepsFields) {
    for (const char* field : kOperatorFields) f[field].setEnabled(true);
    f["ButApagaCampos"].setEnabled(true);
    if (!withoutPageOptions(model)) {
      if (f["chkAllPages"].checked()) f["chkAllPages"].setEnabled(true);
      if (!f["chkPageX"].checked()) f["chkApagar"].setEnabled(true);
      if (f["chkGravComPagCalib"].checked() && (model == EquipmentModel::TIM || model == EquipmentModel::CATV ||
                                                model == EquipmentModel::MEGOMETRO || isOtdrModel(model))) {
        f["chkGravComPagCalib"].setEnabled(true);
      }
      if (f["chkPageX"].checked()) f["chkPageX"].setEnabled(true);
    }
    // A code outside the model range counts as E1 here, so it clears the type too.
    const bool clearsType = profile() != ProfileEngineering || isLineTesterOrTim(model) || model == EquipmentModel::TP;
    if (clearsType) f["EditTipoHard"].setText("");
  } else {
    f["EditTipoHard"].setText("");
    if (profile() == ProfileRG) {
      if (f["chkAllPages"].checked()) f["chkAllPages"].setEnabled(true);
      if (f["chkPageX"].checked()) f["chkPageX"].setEnabled(true);
    } else {
      f["chkAllPages"].setChecked(true);
    }
    if (specialMode.exchange(false)) {
      f["chkPageX"].setChecked(false);
      f["EditPag"].setText("");
      appendLog(text(TextId::MsgSpecialHalted));
    }
    if (loaderMode.exchange(false)) appendLog(text(TextId::MsgLoaderModeHalted));
    if (model != EquipmentModel::CATV) f["ButApagaCampos"].setEnabled(false);
    f["chkSelModulos"].setChecked(false);
    f["chkSincDataHora"].setChecked(false);
  }

  f["ButCancelar"].setEnabled(false);
  f["ButPaginas"].setEnabled(false);
  f["ButEspecial"].setEnabled(false);
  f["ButIniciar"].setEnabled(true);

  resetModuleGrid();
  for (const char* field : kHardwareFields) f[field].setVisible(true);
  for (const char* button : kModelButtons) f[button].setEnabled(true);
  f["ComboDir"].setEnabled(true);

  selectModel(currentModel.load());

  if (!keepsFields) {
    f["EditCPU"].setEnabled(false);
    f["EditSliver"].setEnabled(false);
    if (model == EquipmentModel::OPM || model == EquipmentModel::OTDR || model == EquipmentModel::CATV ||
        model == EquipmentModel::MEGOMETRO) {
      f["EditEquip"].setEnabled(false);
    }
  }

  f["StringGrid"].setEnabled(false);

  // Connection-scoped flags.
  pageSet.x50rLoaded = false;
  pageSet.halfPending = false;
  specialModeRequested = false;
  personalData.eraseAnsweredInSpecialMode = false;
  usb.readHeaderRequested = false;
  usb.readIdentityRequested = false;
  pageChecks.unitHardwareTypeText.clear();
  std::fill(std::begin(moduleFlags), std::end(moduleFlags), false);

  f["Lingua1"].setEnabled(true);
  connection.serialIdleTicks = 0;
  f["Conta_Tempo"].setEnabled(false);
}

}  // namespace kad
