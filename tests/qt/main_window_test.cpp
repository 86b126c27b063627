// The real main window realised by the binder on Qt's offscreen platform.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "form_binder.h"
#include "qt_test_support.h"
#include "support/kad_harness.h"

namespace kad::qt {
namespace {

QString captionOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

void checkAndSave(const char* profile, const char* language, const char* picture) {
  kad::test::KadHarness h(profile);
  h.writeFile("DORN.ini", std::string("[Config]\nLanguage=") + language + "\n[Atualiza]\nAutomatico=N?o\n");
  auto& main = h.start();
  main.appendLog("FLASH successfully written!");
  main.appendLog(main.text(TextId::MsgUploadError));
  FormBinder binder(main.form);
  main.form.root().setVisible(true);
  ASSERT_TRUE(test::waitUntil([&] { return binder.window()->isVisible(); }));
  binder.applyPending();

  EXPECT_EQ(binder.window()->windowTitle().toStdString(), main.text(TextId::CapMainTitle) + "1.0");
  EXPECT_EQ(binder.window()->windowTitle().toStdString(), main.form.root().caption());
  // Every captioned control shows its caption as the window model holds it, from the catalog.
  for (const auto& [control, id] : mainWindowCaptions(main.profile(), main.currentModel)) {
    QWidget* widget = binder.widget(control);
    if (!widget || (!qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QGroupBox*>(widget) &&
                    !qobject_cast<QLabel*>(widget))) {
      continue;
    }
    EXPECT_EQ(captionOf(widget).toStdString(), main[control].caption()) << profile << " " << control;
    // Labels of the hardware fields are re-lettered by the model's hardware rules afterwards.
    if (!qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(main[control].caption(), main.text(id)) << profile << " " << control;
    }
  }
  EXPECT_EQ(binder.widget("ComboDir")->isVisibleTo(binder.window()), main["ComboDir"].showing());
  EXPECT_FALSE(binder.widget("GroupEquip")->isVisibleTo(binder.window()));

  std::filesystem::create_directories(KAD_TEST_ARTIFACT_DIR);
  const auto path = std::filesystem::path(KAD_TEST_ARTIFACT_DIR) / picture;
  EXPECT_TRUE(binder.window()->grab().save(QString::fromStdString(path.string())));
}

TEST(MainWindowOnQt, CustomerBuildInPortuguese) { checkAndSave("Cliente", "Portuguese", "main_window_client.png"); }

TEST(MainWindowOnQt, EngineeringBuildInEnglish) {
  checkAndSave("Engenharia", "English", "main_window_engineering.png");
}

}  // namespace
}  // namespace kad::qt
