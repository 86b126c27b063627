#include <gtest/gtest.h>

#include <QApplication>

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// The offscreen platform warns that it cannot pass size hints on; that says nothing about us.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("propagateSizeHints"))) return;
  qtDefaultHandler(type, context, message);
}

}  // namespace

// The widgets need an application object; without a display they run offscreen.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtDefaultHandler = qInstallMessageHandler(quietHandler);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
