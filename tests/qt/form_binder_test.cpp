#include "form_binder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest/QTest>
#include <cstdlib>
#include <thread>

#include "qt_test_support.h"
#include "support/temp_dir.h"

namespace kad::qt {
namespace {

using test::waitUntil;
using ui::ControlKind;
using ui::Rect;

// A small window with a control of every kind, laid out like the program's windows.
class BoundForm : public ::testing::Test {
 protected:
  BoundForm() : form("TTestForm") {
    form.root().setCaption("Test form");
    form.root().setBounds({0, 0, 420, 320});
    auto& go = form.add(ControlKind::Button, "ButIniciar", nullptr, {10, 10, 100, 25}, "Connect");
    go.setHint("F5");
    form.add(ControlKind::CheckBox, "chkAllPages", nullptr, {10, 40, 120, 17}, "All pages");
    auto& group = form.add(ControlKind::GroupBox, "GroupModo", nullptr, {220, 10, 190, 90}, "Link");
    form.add(ControlKind::RadioButton, "RadioUSB", &group, {10, 20, 80, 17}, "USB");
    form.add(ControlKind::RadioButton, "RadioSerial", &group, {10, 40, 80, 17}, "Serial");
    form.add(ControlKind::RadioButton, "RadioEthernet", &group, {10, 60, 80, 17}, "Ethernet");
    auto& name = form.add(ControlKind::Edit, "EditNomeCliente", nullptr, {10, 65, 120, 21});
    name.setUpperCase(true);
    name.setMaxLength(16);
    name.setColor(ui::colors::Silver);
    form.add(ControlKind::MaskEdit, "MaskNSerie", nullptr, {140, 65, 70, 21}).setText("  .  .   ");
    auto& combo = form.add(ControlKind::ComboBox, "ComboDir", nullptr, {10, 95, 120, 21});
    combo.addItem("E1 pages");
    combo.addItem("T1 pages");
    form.add(ControlKind::ListBox, "ListStatus", nullptr, {10, 125, 250, 108});
    auto& bar = form.add(ControlKind::ProgressBar, "ProgressTotal", nullptr, {270, 125, 140, 17});
    bar.setMax(200);
    bar.setPosition(50);
    form.add(ControlKind::Label, "lblPorcTotal", nullptr, {270, 145, 40, 13}, "25%");
    auto& grid = form.add(ControlKind::StringGrid, "StringGrid", nullptr, {270, 165, 140, 68});
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setCell(0, 0, "GPS");
    grid.setCell(1, 0, "Yes");
    grid.setCell(0, 1, "VF");
    grid.setCell(1, 1, "No");
    form.add(ControlKind::Image, "ImageLogo", nullptr, {10, 240, 60, 60});
    auto& hidden = form.add(ControlKind::Button, "ButPaginas", nullptr, {}, "Write pages");
    hidden.setVisible(false);
    hidden.setEnabled(false);
    auto& menu = form.add(ControlKind::Menu, "MainMenu1");
    auto& help = form.add(ControlKind::MenuItem, "Ajuda1", &menu, {}, "Help");
    form.add(ControlKind::MenuItem, "AjudadoKAD1", &help, {}, "Help topics");
    form.add(ControlKind::MenuItem, "Sobre1", &help, {}, "About");
    form.add(ControlKind::MenuItem, "Lingua1", &menu, {}, "English");
    form.add(ControlKind::Timer, "Conta_Tempo");
  }

  template <typename W>
  W* widget(std::string_view name) {
    auto* found = qobject_cast<W*>(binder->widget(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void bind() {
    binder = std::make_unique<FormBinder>(form);
    QApplication::setActiveWindow(binder->window());
    ASSERT_TRUE(waitUntil([&] { return binder->window()->isActiveWindow(); }));
  }

  ui::Form form;
  std::unique_ptr<FormBinder> binder;
};

TEST_F(BoundForm, InitialStateReachesTheWidgets) {
  bind();
  EXPECT_EQ(binder->window()->windowTitle(), "Test form");
  EXPECT_TRUE(binder->window()->isVisible());
  QMenuBar* bar = widget<QMenuBar>("MainMenu1");
  EXPECT_EQ(binder->window()->size(), QSize(420, 320 + bar->height()));

  EXPECT_EQ(widget<QPushButton>("ButIniciar")->text(), "Connect");
  EXPECT_EQ(widget<QPushButton>("ButIniciar")->geometry(), QRect(10, 10, 100, 25));
  EXPECT_EQ(widget<QPushButton>("ButIniciar")->toolTip(), "F5");
  EXPECT_EQ(widget<QCheckBox>("chkAllPages")->text(), "All pages");
  EXPECT_EQ(widget<QGroupBox>("GroupModo")->title(), "Link");
  EXPECT_EQ(widget<QLabel>("lblPorcTotal")->text(), "25%");
  EXPECT_EQ(widget<QLineEdit>("MaskNSerie")->text(), "  .  .   ");
  EXPECT_EQ(widget<QProgressBar>("ProgressTotal")->maximum(), 200);
  EXPECT_EQ(widget<QProgressBar>("ProgressTotal")->value(), 50);
  EXPECT_EQ(widget<QComboBox>("ComboDir")->count(), 2);

  // Children of a group sit inside it, at their bounds within the group.
  auto* usb = widget<QRadioButton>("RadioUSB");
  EXPECT_EQ(usb->parentWidget(), binder->widget("GroupModo"));
  EXPECT_EQ(usb->geometry(), QRect(10, 20, 80, 17));

  auto* edit = widget<QLineEdit>("EditNomeCliente");
  EXPECT_EQ(edit->maxLength(), 16);
  EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(widget<QLineEdit>("MaskNSerie")->palette().color(QPalette::Base),
            QApplication::palette(edit).color(QPalette::Base));

  auto* grid = widget<QTableWidget>("StringGrid");
  ASSERT_EQ(grid->rowCount(), 2);
  EXPECT_EQ(grid->item(0, 1)->text(), "Yes");
  EXPECT_EQ(grid->item(1, 0)->text(), "VF");
  EXPECT_EQ(grid->rowHeight(0), 15);

  // A zero-sized hidden control is built, stays out of sight and cannot be used.
  auto* hidden = widget<QPushButton>("ButPaginas");
  EXPECT_FALSE(hidden->isVisible());
  EXPECT_FALSE(hidden->isEnabled());
  EXPECT_EQ(hidden->size(), QSize(0, 0));

  ASSERT_NE(binder->action("Sobre1"), nullptr);
  EXPECT_EQ(binder->action("Sobre1")->text(), "About");
  EXPECT_EQ(binder->action("Ajuda1")->menu()->actions().size(), 2);
  EXPECT_EQ(binder->widget("Conta_Tempo"), nullptr);
  EXPECT_EQ(binder->widget("NoSuchControl"), nullptr);

  QDir().mkpath(KAD_TEST_ARTIFACT_DIR);
  form["ListStatus"].addItem("Select the model and press F5.");
  binder->applyPending();
  EXPECT_TRUE(binder->window()->grab().save(KAD_TEST_ARTIFACT_DIR "/qt_test_form.png"));
}

TEST_F(BoundForm, WorkerThreadChangesReachTheWidgetsOnTheGuiThread) {
  bind();
  std::thread worker([&] {
    form["ButIniciar"].setCaption("Cancel");
    form["ButIniciar"].setEnabled(false);
    form["chkAllPages"].setVisible(false);
    form["RadioSerial"].setChecked(true);
    form["EditNomeCliente"].setText("ACME");
    form["ProgressTotal"].setPosition(150);
    form["ListStatus"].addItem("Unit connected.");
    form["ComboDir"].setItemIndex(1);
    form["StringGrid"].setCell(1, 1, "Yes");
    form["lblPorcTotal"].setCaption("75%");
    form["Sobre1"].setEnabled(false);
    form.root().setCaption("Busy");
    form["ButIniciar"].setBounds({20, 12, 90, 30});
  });
  worker.join();
  // Nothing is touched until the GUI thread runs its events.
  EXPECT_EQ(widget<QPushButton>("ButIniciar")->text(), "Connect");

  QCoreApplication::processEvents();
  auto* go = widget<QPushButton>("ButIniciar");
  EXPECT_EQ(go->text(), "Cancel");
  EXPECT_FALSE(go->isEnabled());
  EXPECT_EQ(go->geometry(), QRect(20, 12, 90, 30));
  EXPECT_FALSE(widget<QCheckBox>("chkAllPages")->isVisible());
  EXPECT_TRUE(widget<QRadioButton>("RadioSerial")->isChecked());
  EXPECT_EQ(widget<QLineEdit>("EditNomeCliente")->text(), "ACME");
  EXPECT_EQ(widget<QProgressBar>("ProgressTotal")->value(), 150);
  ASSERT_EQ(widget<QListWidget>("ListStatus")->count(), 1);
  EXPECT_EQ(widget<QListWidget>("ListStatus")->item(0)->text(), "Unit connected.");
  EXPECT_EQ(widget<QComboBox>("ComboDir")->currentIndex(), 1);
  EXPECT_EQ(widget<QComboBox>("ComboDir")->currentText(), "T1 pages");
  EXPECT_EQ(widget<QTableWidget>("StringGrid")->item(1, 1)->text(), "Yes");
  EXPECT_EQ(widget<QLabel>("lblPorcTotal")->text(), "75%");
  EXPECT_FALSE(binder->action("Sobre1")->isEnabled());
  EXPECT_EQ(binder->window()->windowTitle(), "Busy");
}

TEST_F(BoundForm, ManyWorkerChangesEndInTheModelsLastState) {
  bind();
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < 500; ++i) {
        form["ListStatus"].addItem("line " + std::to_string(w) + "/" + std::to_string(i));
        form["ProgressTotal"].setPosition(i % 200);
      }
    });
  }
  for (auto& worker : workers) worker.join();
  form["ProgressTotal"].setPosition(123);
  auto* list = widget<QListWidget>("ListStatus");
  ASSERT_TRUE(waitUntil([&] { return list->count() == 2000; }));
  const auto lines = form["ListStatus"].items();
  for (int i = 0; i < list->count(); i += 97) EXPECT_EQ(list->item(i)->text().toStdString(), lines[i]);
  EXPECT_EQ(widget<QProgressBar>("ProgressTotal")->value(), 123);
}

TEST_F(BoundForm, UserClickOnCheckBoxFiresTheModelOnce) {
  int clicks = 0;
  form["chkAllPages"].onClick = [&] { ++clicks; };
  bind();
  auto* box = widget<QCheckBox>("chkAllPages");

  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(form["chkAllPages"].checked());
  EXPECT_TRUE(box->isChecked());

  // The program unchecks it: the model fires the handler itself, the widget must not echo it.
  form["chkAllPages"].setChecked(false);
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box->isChecked());

  // A click the model refuses leaves the box as the model has it.
  form["chkAllPages"].setEnabled(false);
  QCoreApplication::processEvents();
  box->setEnabled(true);  // as if the refusal had not reached the widget yet
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(BoundForm, RadioGroupStaysExclusive) {
  int serialClicks = 0;
  form["RadioSerial"].onClick = [&] { ++serialClicks; };
  bind();
  auto* usb = widget<QRadioButton>("RadioUSB");
  auto* serial = widget<QRadioButton>("RadioSerial");
  auto* ethernet = widget<QRadioButton>("RadioEthernet");
  auto checkedInWidgets = [&] { return std::vector<bool>{usb->isChecked(), serial->isChecked(), ethernet->isChecked()}; };

  form["RadioUSB"].setChecked(true);
  QCoreApplication::processEvents();
  EXPECT_EQ(checkedInWidgets(), (std::vector<bool>{true, false, false}));

  QTest::mouseClick(serial, Qt::LeftButton);
  EXPECT_EQ(serialClicks, 1);
  EXPECT_FALSE(form["RadioUSB"].checked());
  EXPECT_TRUE(form["RadioSerial"].checked());
  EXPECT_EQ(checkedInWidgets(), (std::vector<bool>{false, true, false}));

  // Clicking the checked button again fires it but does not uncheck it.
  QTest::mouseClick(serial, Qt::LeftButton);
  EXPECT_EQ(serialClicks, 2);
  EXPECT_EQ(checkedInWidgets(), (std::vector<bool>{false, true, false}));

  std::thread([&] { form["RadioEthernet"].setChecked(true); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(checkedInWidgets(), (std::vector<bool>{false, false, true}));
}

TEST_F(BoundForm, TypingGoesThroughTheModelsRules) {
  std::vector<std::string> changes;
  int exits = 0;
  int clicks = 0;
  auto& name = form["EditNomeCliente"];
  name.onChange = [&] { changes.push_back(name.text()); };
  name.onExit = [&] { ++exits; };
  name.onClick = [&] { ++clicks; };
  bind();
  auto* edit = widget<QLineEdit>("EditNomeCliente");
  edit->setFocus();
  ASSERT_TRUE(waitUntil([&] { return edit->hasFocus(); }));

  QTest::keyClicks(edit, "ab");
  EXPECT_EQ(changes, (std::vector<std::string>{"A", "AB"}));
  EXPECT_EQ(edit->text(), "AB");
  EXPECT_EQ(edit->cursorPosition(), 2);

  QTest::mouseClick(edit, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);

  widget<QPushButton>("ButIniciar")->setFocus();
  EXPECT_EQ(exits, 1);

  // Text the program sets is shown but is not typing: no second change.
  name.setText("XYZ");
  QCoreApplication::processEvents();
  EXPECT_EQ(edit->text(), "XYZ");
  EXPECT_EQ(changes.size(), 3u);
}

TEST_F(BoundForm, ComboBoxReportsChoiceDoubleClickAndExit) {
  int changes = 0, doubleClicks = 0, exits = 0;
  auto& combo = form["ComboDir"];
  combo.onChange = [&] { ++changes; };
  combo.onDblClick = [&] { ++doubleClicks; };
  combo.onExit = [&] { ++exits; };
  bind();
  auto* box = widget<QComboBox>("ComboDir");
  box->setCurrentIndex(1);
  emit box->activated(1);  // what the popup does when the operator picks a line
  EXPECT_EQ(combo.itemIndex(), 1);
  EXPECT_EQ(combo.text(), "T1 pages");
  EXPECT_EQ(changes, 1);

  QTest::mouseDClick(box->lineEdit(), Qt::LeftButton);
  EXPECT_EQ(doubleClicks, 1);

  box->setFocus();
  ASSERT_TRUE(waitUntil([&] { return box->hasFocus(); }));
  widget<QPushButton>("ButIniciar")->setFocus();
  EXPECT_EQ(exits, 1);
}

struct KeyCase {
  const char* control;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  bool formTakesIt;
  ui::Key expectedKey;
  unsigned expectedModifiers;
};

class KeyRouting : public BoundForm, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyRouting, FormSeesKeysFirstThenTheFocusedControl) {
  const KeyCase& c = GetParam();
  std::vector<std::pair<ui::Key, unsigned>> formKeys;
  std::vector<std::pair<ui::Key, unsigned>> controlKeys;
  form.onShortCut = [&](ui::Key key, unsigned modifiers) {
    formKeys.emplace_back(key, modifiers);
    return c.formTakesIt;
  };
  form[c.control].onKeyDown = [&](ui::Key key, unsigned modifiers) { controlKeys.emplace_back(key, modifiers); };
  bind();
  binder->widget(c.control)->setFocus();
  ASSERT_TRUE(waitUntil([&] { return binder->widget(c.control)->hasFocus(); }));

  QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
  const std::vector<std::pair<ui::Key, unsigned>> expected{{c.expectedKey, c.expectedModifiers}};
  EXPECT_EQ(formKeys, expected);
  if (c.formTakesIt) EXPECT_TRUE(controlKeys.empty());
  else EXPECT_EQ(controlKeys, expected);  // exactly once, however far the key travels up
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyRouting,
    ::testing::Values(KeyCase{"EditNomeCliente", Qt::Key_F5, Qt::NoModifier, true, ui::Key::F5, ui::NoModifier},
                      KeyCase{"EditNomeCliente", Qt::Key_Escape, Qt::NoModifier, false, ui::Key::Escape, 0},
                      KeyCase{"ComboDir", Qt::Key_Return, Qt::NoModifier, false, ui::Key::Enter, 0},
                      KeyCase{"ListStatus", Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier, false, ui::Key::F9,
                              ui::Ctrl | ui::Shift},
                      KeyCase{"ListStatus", Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier, true, ui::Key::F12,
                              ui::Ctrl | ui::Shift},
                      KeyCase{"ButIniciar", Qt::Key_F1, Qt::NoModifier, false, ui::Key::F1, 0},
                      KeyCase{"StringGrid", Qt::Key_A, Qt::AltModifier, false, ui::Key::Other, ui::Alt}));

// Renders a widget and returns the colour at a point of it.
QColor pixelAt(QWidget* widget, QPoint point) { return widget->grab().toImage().pixelColor(point); }

// True when some pixel of the area is that colour; glyph edges are smoothed, so each
// channel may be off by a little.
bool hasColour(QWidget* widget, QRect area, QColor colour) {
  const QImage image = widget->grab().toImage();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor seen = image.pixelColor(x, y);
      if (std::abs(seen.red() - colour.red()) < 48 && std::abs(seen.green() - colour.green()) < 48 &&
          std::abs(seen.blue() - colour.blue()) < 48)
        return true;
    }
  }
  return false;
}

TEST_F(BoundForm, ListLinesTakeTheirColoursFromTheDrawHandler) {
  auto& log = form["ListStatus"];
  log.onDrawItem = [](int index) {
    return index == 0 ? ui::ItemStyle{ui::colors::White, ui::colors::Blue}
                      : ui::ItemStyle{ui::colors::Black, ui::colors::Lime};
  };
  log.addItem("IIIII ERROR");
  log.addItem("IIIII OK");
  bind();
  QWidget* viewport = widget<QListWidget>("ListStatus")->viewport();
  const int right = viewport->width() - 3;
  EXPECT_EQ(pixelAt(viewport, {right, 6}), QColor(0, 0, 255));
  EXPECT_EQ(pixelAt(viewport, {right, 13 + 6}), QColor(0, 255, 0));
  // Each line is 13 pixels high, its text in the handler's colour.
  EXPECT_EQ(pixelAt(viewport, {right, 12}), QColor(0, 0, 255));
  EXPECT_EQ(pixelAt(viewport, {right, 13}), QColor(0, 255, 0));
  EXPECT_TRUE(hasColour(viewport, {2, 0, 40, 12}, QColor(255, 255, 255)));
  EXPECT_TRUE(hasColour(viewport, {2, 13, 40, 12}, QColor(0, 0, 0)));
  EXPECT_FALSE(hasColour(viewport, {2, 13, 40, 12}, QColor(255, 255, 255)));
}

TEST_F(BoundForm, ListTopLineFollowsTheModelAndTheOperator) {
  auto& log = form["ListStatus"];
  bind();
  for (int i = 0; i < 40; ++i) log.addItem("line " + std::to_string(i));
  log.setTopIndex(25);
  QCoreApplication::processEvents();
  auto* list = widget<QListWidget>("ListStatus");
  EXPECT_EQ(list->verticalScrollBar()->value(), 25);
  EXPECT_EQ(list->indexAt(QPoint(5, 2)).row(), 25);

  list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(log.topIndex(), 24);

  log.clearItems();
  QCoreApplication::processEvents();
  EXPECT_EQ(list->count(), 0);
}

TEST_F(BoundForm, GridCellsTakeTheirColoursAndReportDoubleClicks) {
  auto& grid = form["StringGrid"];
  grid.onDrawCell = [&grid](int col, int row) {
    if (grid.cell(col, row) == "Yes") return ui::ItemStyle{ui::colors::White, ui::colors::Blue};
    if (grid.cell(col, row) == "No") return ui::ItemStyle{ui::colors::White, ui::colors::Red};
    return ui::ItemStyle{};
  };
  int doubleClicks = 0;
  grid.onDblClick = [&] { ++doubleClicks; };
  bind();
  auto* table = widget<QTableWidget>("StringGrid");
  const QRect yes = table->visualItemRect(table->item(0, 1));
  const QRect no = table->visualItemRect(table->item(1, 1));
  const QRect plain = table->visualItemRect(table->item(0, 0));
  EXPECT_EQ(pixelAt(table->viewport(), yes.bottomRight() - QPoint(3, 3)), QColor(0, 0, 255));
  EXPECT_EQ(pixelAt(table->viewport(), no.bottomRight() - QPoint(3, 3)), QColor(255, 0, 0));
  EXPECT_NE(pixelAt(table->viewport(), plain.bottomRight() - QPoint(3, 3)), QColor(0, 0, 255));

  QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, no.center());
  EXPECT_EQ(doubleClicks, 1);
}

TEST_F(BoundForm, MenuItemsClickAndShowTheModelsState) {
  int abouts = 0;
  form["Sobre1"].onClick = [&] { ++abouts; };
  bind();
  QAction* about = binder->action("Sobre1");
  QAction* language = binder->action("Lingua1");
  EXPECT_FALSE(language->isCheckable());

  about->trigger();
  EXPECT_EQ(abouts, 1);

  form["Lingua1"].setChecked(true);
  form["Ajuda1"].setVisible(false);
  QCoreApplication::processEvents();
  EXPECT_TRUE(language->isChecked());
  EXPECT_FALSE(binder->action("Ajuda1")->isVisible());

  // The handler, not the toolkit, decides the check mark: triggering leaves it as it is.
  language->trigger();
  EXPECT_TRUE(language->isChecked());
}

TEST_F(BoundForm, ImageShowsItsFileWhenItExists) {
  kad::test::TempDir dir;
  const QString path = QString::fromStdString((dir.path() / "logo.png").string());
  QImage picture(30, 30, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(path));
  bind();
  auto* image = widget<QLabel>("ImageLogo");
  EXPECT_TRUE(image->pixmap().isNull());

  form["ImageLogo"].setImageFile(path.toStdString());
  QCoreApplication::processEvents();
  EXPECT_FALSE(image->pixmap().isNull());

  form["ImageLogo"].setImageFile((dir.path() / "missing.png").string());
  QCoreApplication::processEvents();
  EXPECT_TRUE(image->pixmap().isNull());
}

TEST_F(BoundForm, ClosingTheWindowRunsTheCloseHandler) {
  bind();
  int closes = 0;
  binder->onClose = [&] { ++closes; };
  binder->window()->close();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(form.root().visible());
  EXPECT_FALSE(binder->window()->isVisible());

  form.root().setVisible(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(binder->window()->isVisible());
}

TEST_F(BoundForm, ModelOutlivesItsBinder) {
  bind();
  form["ButIniciar"].setCaption("queued before the binder goes");
  binder.reset();
  std::thread([&] { form["ButIniciar"].setCaption("after"); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(form["ButIniciar"].caption(), "after");
}

}  // namespace
}  // namespace kad::qt
