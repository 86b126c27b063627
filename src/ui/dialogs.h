#pragma once
#include <optional>
#include <string>

namespace kad::ui {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogOptions {
  std::string title;
  std::string filter;  // "Bin files (*.bin)|*.bin|All files (*.*)|*.*"
  std::string defaultExtension;
  std::string initialDir;
};

// Message boxes and file choosers. Callable from any thread; the call blocks until the
// operator has answered. Anything but Yes counts as No.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer messageBox(const std::string& title, const std::string& text, Buttons buttons, Icon icon) = 0;
  virtual std::optional<std::string> openFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> selectFolder(const std::string& title) = 0;

  bool askYesNo(const std::string& title, const std::string& text, Icon icon = Icon::Question) {
    return messageBox(title, text, Buttons::YesNo, icon) == Answer::Yes;
  }
  void showOk(const std::string& title, const std::string& text, Icon icon = Icon::None) {
    messageBox(title, text, Buttons::Ok, icon);
  }
};

}  // namespace kad::ui
