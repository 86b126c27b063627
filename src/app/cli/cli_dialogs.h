#pragma once
#include <cstdio>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "cli_options.h"
#include "ui/dialogs.h"

namespace kad::cli {

struct AnswerRule {
  std::regex pattern;
  bool yes;
};

// Reads "yes REGEX" / "no REGEX" lines; blank lines and lines starting with '#' are skipped.
// Returns nothing and sets the message when a line is malformed.
std::optional<std::vector<AnswerRule>> readAnswerRules(const std::string& path, std::string& error);

// Message boxes on the console: OK boxes are printed as "[title] text"; Yes/No questions
// are answered by the first matching rule, else by the default answer, else by a prompt
// when standard input is a terminal, else No. File and folder choosers are asked on the
// terminal the same way, and cancelled without one.
class CliDialogs final : public ui::Dialogs {
 public:
  CliDialogs(std::vector<AnswerRule> rules, DefaultAnswer defaultAnswer, std::FILE* out);

  ui::Answer messageBox(const std::string& title, const std::string& text, ui::Buttons buttons, ui::Icon icon) override;
  std::optional<std::string> openFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> saveFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> selectFolder(const std::string& title) override;

  // Every OK box shown, for the exit code.
  std::vector<std::string> okTexts() const;

 private:
  std::optional<std::string> promptLine(const std::string& question);

  std::vector<AnswerRule> rules_;
  DefaultAnswer defaultAnswer_;
  std::FILE* out_;
  mutable std::mutex mutex_;
  std::vector<std::string> okTexts_;
};

}  // namespace kad::cli
