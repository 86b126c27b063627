#pragma once
#include <filesystem>
#include <string>

#include "platform/process.h"
#include "shell/profile.h"
#include "ui/background_work.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/main_loop.h"

namespace kad::updater {

// The updater's own texts; it does not use the main program's catalog.
enum class UpdText {
  LblUpdating,
  MsgWillDownload,
  MsgNoInternet,
  MsgNoServer,
  MsgSuccess,
  MsgFailed,
  TitleError,
  TitleInformation,
};

std::string updaterText(UpdText id, UiLanguage language);

inline constexpr const char* kProgramPackagePath = "/qe01/Software/KAD/KAD_RQV527E1PUc.zip";
inline constexpr const char* kProgramPackageFile = "KADc.zip";
inline constexpr const char* kUpdaterAgent = "KADu";
inline constexpr const char* kMainProgram = "kad-main";

struct UpdaterEnvironment {
  std::filesystem::path programDir;  // with trailing separator
  ui::Dialogs& dialogs;
  ui::MainLoop& loop;
  platform::Processes& processes;
};

// The updater's window and its one job: fetch the newest kad-main, unpack it into the
// program directory, record its version in the brand file and start it again.
class TForm1 {
 public:
  explicit TForm1(UpdaterEnvironment environment);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  ui::Form form{"TForm1"};
  // Set by the front end so that the transfers do not stop the window painting.
  ui::BackgroundWork runTransfer;

  UiLanguage language() const { return language_; }
  std::string text(UpdText id) const { return updaterText(id, language_); }

  // The window became active: the update runs the first time only.
  void FormActivate();

 private:
  bool download();
  void stepBar(int position);

  UpdaterEnvironment env_;
  UiLanguage language_ = UiLanguage::Portuguese;
  bool updateRan_ = false;
};

}  // namespace kad::updater
