#include "shell/main_window_form.h"

#include <string>

namespace kad {

using ui::ControlKind;
using ui::Rect;

void buildMainWindowForm(ui::Form& form) {
  auto& f = form;
  f.root().setBounds({0, 0, 624, 562});

  // Menu.
  auto& menu = f.add(ControlKind::Menu, "MainMenu1");
  auto& configura = f.add(ControlKind::MenuItem, "Configura", &menu, {}, "Configurações");
  configura.setVisible(false);
  auto& verify = f.add(ControlKind::MenuItem, "Ver_atualiz", &configura, {}, "Verificar atualizações disponíveis");
  f.add(ControlKind::MenuItem, "Atualiz_Agora", &verify, {}, "Agora");
  f.add(ControlKind::MenuItem, "Atualiz_sempre", &verify, {}, "Sempre");
  f.add(ControlKind::MenuItem, "Lingua1", &menu, {}, "Selecionar idioma");
  auto& ajuda = f.add(ControlKind::MenuItem, "Ajuda1", &menu, {}, "Ajuda");
  f.add(ControlKind::MenuItem, "AjudadoKAD1", &ajuda, {}, "Ajuda do KAD");
  f.add(ControlKind::MenuItem, "Sobre1", &ajuda, {}, "Sobre");

  // Directory list and progress rows (left column, top).
  auto& geral = f.add(ControlKind::GroupBox, "GroupGeral", nullptr, {8, 55, 372, 92});
  f.add(ControlKind::Label, "Label1", &geral, {8, 20, 52, 13}, "Diretório:");
  auto& combo = f.add(ControlKind::ComboBox, "ComboDir", &geral, {62, 16, 140, 21});
  combo.setItemIndex(-1);
  f.add(ControlKind::Button, "ButAdicionar", &geral, {208, 14, 76, 25}, "Adicionar");
  f.add(ControlKind::Button, "ButRemover", &geral, {288, 14, 76, 25}, "Remover");
  f.add(ControlKind::Label, "lblAtual", &geral, {8, 48, 52, 13}, "Atual:");
  f.add(ControlKind::ProgressBar, "ProgressAtual", &geral, {62, 46, 262, 17});
  f.add(ControlKind::Label, "lblPorcAtual", &geral, {330, 46, 36, 13}, "0%");
  f.add(ControlKind::Label, "lblTotal", &geral, {8, 72, 52, 13}, "Total:");
  f.add(ControlKind::ProgressBar, "ProgressTotal", &geral, {62, 70, 262, 17});
  f.add(ControlKind::Label, "lblPorcTotal", &geral, {330, 70, 36, 13}, "0%");

  // Status log (left column, below).
  auto& status = f.add(ControlKind::GroupBox, "GroupStatus", nullptr, {8, 152, 372, 402}, "Status da Comunicação");
  auto& list = f.add(ControlKind::ListBox, "ListStatus", &status, {8, 18, 356, 340});
  list.setItemIndex(-1);
  f.add(ControlKind::Button, "ButSalvar", &status, {8, 366, 90, 25}, "Salvar Log");
  f.add(ControlKind::Button, "ButLimpar", &status, {104, 366, 90, 25}, "Limpar");

  // Buttons (right column).
  f.add(ControlKind::Button, "ButIniciar", nullptr, {388, 8, 228, 30}, "Estabelecer Conexão").setHint("F5");
  auto& cancel = f.add(ControlKind::Button, "ButCancelar", nullptr, {388, 42, 110, 28}, "Cancelar");
  cancel.setHint("ESC");
  cancel.setEnabled(false);
  f.add(ControlKind::Button, "ButApagaCampos", nullptr, {506, 42, 110, 28}, "Apaga Campos");
  auto& paginas = f.add(ControlKind::Button, "ButPaginas", nullptr, {388, 74, 228, 0}, "Gravar páginas");
  paginas.setHint("F6");
  paginas.setVisible(false);
  paginas.setEnabled(false);
  f.add(ControlKind::Label, "LabelStatus", nullptr, {388, 76, 228, 13}, "     ");

  // Client data.
  auto& cliente = f.add(ControlKind::GroupBox, "GroupCliente", nullptr, {388, 92, 228, 104}, "Dados do Cliente");
  f.add(ControlKind::Label, "Label4", &cliente, {8, 16, 120, 13}, "CLIENTE");
  auto& nome = f.add(ControlKind::Edit, "EditNomeCliente", &cliente, {8, 30, 212, 21});
  nome.setUpperCase(true);
  nome.setMaxLength(16);
  f.add(ControlKind::Label, "Label5", &cliente, {8, 56, 120, 13}, "NÚMERO DE SÉRIE");
  auto& serie = f.add(ControlKind::MaskEdit, "MaskNSerie", &cliente, {8, 70, 100, 21});
  serie.setText(kEmptySerialNumber);
  serie.setMaxLength(9);
  serie.setHint("Digite o Número de Série sem os pontos");
  f.add(ControlKind::Label, "lblTipoHard", &cliente, {130, 56, 90, 13}, "HARDWARE");
  auto& tipo = f.add(ControlKind::Edit, "EditTipoHard", &cliente, {130, 70, 40, 21});
  tipo.setMaxLength(2);

  // Hardware versions: labels right-aligned beside the fields; selecting a model moves them.
  auto& hardware = f.add(ControlKind::GroupBox, "GroupHardware", nullptr, {388, 200, 228, 120}, "Versão de Hardware");
  const char* labels[] = {"lblCPU", "lblEQUIP", "lblBAT", "lblDISPLAY", "lblSLIVER"};
  const char* captions[] = {"CPU", "EQUIP.", "BATERIA", "DISPLAY", "SLIVER"};
  const char* edits[] = {"EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver"};
  const int labelTops[] = {17, 36, 56, 76, 95};
  const int editTops[] = {15, 35, 55, 74, 93};
  for (int i = 0; i < 5; ++i) {
    f.add(ControlKind::Label, labels[i], &hardware, {8, labelTops[i], 64, 13}, captions[i]);
    auto& edit = f.add(ControlKind::Edit, edits[i], &hardware, {78, editTops[i], 44, 19});
    edit.setUpperCase(true);
    edit.setMaxLength(3);
  }
  auto& z = f.add(ControlKind::CheckBox, "botaoZ", &hardware, {122, 15, 104, 17}, "E1/TIM antigo");
  z.setVisible(false);

  // Installed modules.
  auto& modulos = f.add(ControlKind::GroupBox, "GroupModulos", nullptr, {388, 324, 228, 230}, "Módulos Instalados");
  f.add(ControlKind::Label, "Label2", &modulos, {8, 16, 100, 13}, "Módulo:");
  f.add(ControlKind::Label, "Label3", &modulos, {140, 16, 80, 13}, "Instalado:");
  auto& grid = f.add(ControlKind::StringGrid, "StringGrid", &modulos, {8, 32, 212, 190});
  grid.setColCount(2);
  grid.setRowCount(1);

  for (const char* field : kOperatorFields) f[field].setColor(ui::colors::Silver);

  // Groups the layout keeps zero-sized and hidden; their controls are set by the program.
  auto hiddenGroup = [&](const char* name, const char* caption) -> ui::Control& {
    auto& group = f.add(ControlKind::GroupBox, name, nullptr, {0, 0, 0, 0}, caption);
    group.setVisible(false);
    return group;
  };
  auto& equip = hiddenGroup("GroupEquip", "Equipamento");
  const std::pair<const char*, const char*> models[] = {
      {"RadioE1", "RQV527E1"},     {"RadioT1", "RQV527T1"},       {"RadioTIM", "RQV638TIM"},
      {"RadioTIMSK", "RQV638TIMsk"}, {"RadioDSL2", "RQV749DSL2+"}, {"RadioTP", "RQV183TP"},
      {"RadioCATV", "RQV851CATV"}, {"RadioOPM", "RQV431OPM"},     {"RadioMEGOMETRO", "RQV962M"},
      {"RadioOTDR", "RQV465OTDR"}, {"Radio160OTDR", "RQV466OTDR"}, {"Radio170OTDR", "RQV467OTDR"},
      {"RadioFirmCpu206", "Firmware E1/TIM"}, {"RadioButton1", "RQV432PPM"}};
  int top = 16;
  for (const auto& [name, caption] : models) {
    f.add(ControlKind::RadioButton, name, &equip, {8, top, 120, 17}, caption);
    top += 19;
  }
  f["RadioButton1"].setEnabled(false);

  auto& modo = hiddenGroup("GroupModo", "Modo de Comunicação");
  f.add(ControlKind::RadioButton, "RadioSerial", &modo, {8, 16, 80, 17}, "Serial");
  f.add(ControlKind::RadioButton, "RadioEthernet", &modo, {8, 35, 80, 17}, "Ethernet");
  f.add(ControlKind::RadioButton, "RadioUSB", &modo, {8, 54, 80, 17}, "USB");

  auto& com = hiddenGroup("GroupCOM", "Porta Serial");
  for (int n = 1; n <= 8; ++n) {
    f.add(ControlKind::RadioButton, "RadioCOM" + std::to_string(n), &com, {8 + ((n - 1) % 4) * 60, n <= 4 ? 16 : 35, 56, 17},
          "COM" + std::to_string(n));
  }

  auto& opcoes = hiddenGroup("GroupOpcoes", "Opções");
  f.add(ControlKind::CheckBox, "chkAllPages", &opcoes, {8, 16, 140, 17}, "Todas as páginas");
  f.add(ControlKind::CheckBox, "chkPageX", &opcoes, {8, 35, 110, 17}, "Somente página");
  auto& pag = f.add(ControlKind::Edit, "EditPag", &opcoes, {120, 33, 28, 21});
  pag.setMaxLength(2);
  pag.setText("0");
  f.add(ControlKind::CheckBox, "chkLoader", &opcoes, {8, 54, 140, 17}, "Gravar LOADER");
  f.add(ControlKind::CheckBox, "chkApagar", &opcoes, {8, 73, 140, 17}, "Apagar Calibração");
  f.add(ControlKind::CheckBox, "chkGravComPagCalib", &opcoes, {8, 92, 140, 17}, "Gravar c/ Pag. Calib.");
  f.add(ControlKind::CheckBox, "chkDataHora", &opcoes, {8, 111, 140, 17}, "Sinc. Data/Hora");
  f.add(ControlKind::Button, "ButEspecial", &opcoes, {8, 132, 140, 25}, "Desbloq. Grava Flash");

  auto& extras = hiddenGroup("GroupBoxExtras", "Extras");
  f.add(ControlKind::CheckBox, "chkSincDataHora", &extras, {8, 16, 140, 17}, "Sinc. Data/Hora");
  f.add(ControlKind::CheckBox, "chkSelModulos", &extras, {8, 35, 140, 17}, "Selecionar Módulos");

  for (const char* logo : {"DornLogo", "NebLogo"}) {
    f.add(ControlKind::Image, logo, nullptr, {0, 0, 0, 0}).setVisible(false);
  }

  auto& timer = f.add(ControlKind::Timer, "Conta_Tempo");
  timer.setEnabled(false);
  timer.setInterval(1000);
}

}  // namespace kad
