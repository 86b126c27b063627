#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace kad::test {

// Dialogs that answer from a script. Each expected dialog names a part of its text (or of
// its title) and the answer; a dialog that was not expected fails the test with its text.
class ScriptedDialogs final : public ui::Dialogs {
 public:
  struct Shown {
    std::string title;
    std::string text;
    ui::Buttons buttons;
  };

  void expectMessage(std::string textPart, ui::Answer answer = ui::Answer::Ok) {
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Message, std::move(textPart), answer, {}});
  }
  void expectOpenFile(std::optional<std::string> chosen) {
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Open, {}, ui::Answer::Ok, std::move(chosen)});
  }
  void expectSaveFile(std::optional<std::string> chosen) {
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Save, {}, ui::Answer::Ok, std::move(chosen)});
  }
  void expectFolder(std::optional<std::string> chosen) {
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Folder, {}, ui::Answer::Ok, std::move(chosen)});
  }

  ui::Answer messageBox(const std::string& title, const std::string& text, ui::Buttons buttons, ui::Icon) override {
    std::lock_guard lock(mutex_);
    shown_.push_back({title, text, buttons});
    if (script_.empty() || script_.front().kind != Kind::Message ||
        (text.find(script_.front().part) == std::string::npos && title.find(script_.front().part) == std::string::npos)) {
      ADD_FAILURE() << "unexpected message box [" << title << "] " << text
                    << (script_.empty() ? std::string(" (none expected)") : " (expected: " + script_.front().part + ")");
      return buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Ok;
    }
    const auto answer = script_.front().answer;
    script_.pop_front();
    return answer;
  }
  std::optional<std::string> openFile(const ui::FileDialogOptions& options) override {
    return chooser(Kind::Open, options.title);
  }
  std::optional<std::string> saveFile(const ui::FileDialogOptions& options) override {
    return chooser(Kind::Save, options.title);
  }
  std::optional<std::string> selectFolder(const std::string& title) override { return chooser(Kind::Folder, title); }

  std::vector<Shown> shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
  }
  bool allAnswered() const {
    std::lock_guard lock(mutex_);
    return script_.empty();
  }
  ~ScriptedDialogs() override {
    if (!script_.empty()) ADD_FAILURE() << script_.size() << " expected dialog(s) never shown, first: " << script_.front().part;
  }

 private:
  enum class Kind { Message, Open, Save, Folder };
  struct Step {
    Kind kind;
    std::string part;
    ui::Answer answer;
    std::optional<std::string> chosen;
  };
  std::optional<std::string> chooser(Kind kind, const std::string& title) {
    std::lock_guard lock(mutex_);
    if (script_.empty() || script_.front().kind != kind) {
      ADD_FAILURE() << "unexpected file or folder dialog: " << title;
      return std::nullopt;
    }
    auto chosen = script_.front().chosen;
    script_.pop_front();
    return chosen;
  }
  mutable std::mutex mutex_;
  std::deque<Step> script_;
  std::vector<Shown> shown_;
};

}  // namespace kad::test
