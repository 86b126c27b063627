#include "cli_dialogs.h"

#include <unistd.h>

#include <fstream>
#include <iostream>

namespace kad::cli {

std::optional<std::vector<AnswerRule>> readAnswerRules(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read the answers file " + path;
    return std::nullopt;
  }
  std::vector<AnswerRule> rules;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const auto space = line.find_first_of(" \t", start);
    const std::string word = line.substr(start, space == std::string::npos ? std::string::npos : space - start);
    const auto patternStart = space == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", space);
    if ((word != "yes" && word != "no") || patternStart == std::string::npos) {
      error = path + ":" + std::to_string(number) + ": expected \"yes REGEX\" or \"no REGEX\"";
      return std::nullopt;
    }
    try {
      rules.push_back({std::regex(line.substr(patternStart)), word == "yes"});
    } catch (const std::regex_error& failure) {
      error = path + ":" + std::to_string(number) + ": bad pattern: " + failure.what();
      return std::nullopt;
    }
  }
  return rules;
}

CliDialogs::CliDialogs(std::vector<AnswerRule> rules, DefaultAnswer defaultAnswer, std::FILE* out)
    : rules_(std::move(rules)), defaultAnswer_(defaultAnswer), out_(out) {}

ui::Answer CliDialogs::messageBox(const std::string& title, const std::string& text, ui::Buttons buttons, ui::Icon) {
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "[%s] %s\n", title.c_str(), text.c_str());
  if (buttons == ui::Buttons::Ok) {
    okTexts_.push_back(text);
    std::fflush(out_);
    return ui::Answer::Ok;
  }
  std::optional<bool> yes;
  for (const auto& rule : rules_) {
    if (std::regex_search(text, rule.pattern)) {
      yes = rule.yes;
      break;
    }
  }
  if (!yes && defaultAnswer_ != DefaultAnswer::Ask) yes = defaultAnswer_ == DefaultAnswer::Yes;
  if (!yes) {
    const auto reply = promptLine("Yes or No? [y/N] ");
    yes = reply && !reply->empty() && (reply->front() == 'y' || reply->front() == 'Y' || reply->front() == 's' ||
                                       reply->front() == 'S');
  }
  std::fprintf(out_, "  -> %s\n", *yes ? "Yes" : "No");
  std::fflush(out_);
  return *yes ? ui::Answer::Yes : ui::Answer::No;
}

std::optional<std::string> CliDialogs::promptLine(const std::string& question) {
  if (!::isatty(STDIN_FILENO)) return std::nullopt;
  std::fprintf(out_, "%s", question.c_str());
  std::fflush(out_);
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  return line;
}

std::optional<std::string> CliDialogs::openFile(const ui::FileDialogOptions& options) {
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "[%s] (%s)\n", options.title.c_str(), options.filter.c_str());
  auto path = promptLine("File to open (empty cancels): ");
  return path && !path->empty() ? path : std::nullopt;
}

std::optional<std::string> CliDialogs::saveFile(const ui::FileDialogOptions& options) {
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "[%s]\n", options.title.c_str());
  auto path = promptLine("File to save (empty cancels): ");
  return path && !path->empty() ? path : std::nullopt;
}

std::optional<std::string> CliDialogs::selectFolder(const std::string& title) {
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "[%s]\n", title.c_str());
  auto path = promptLine("Folder (empty cancels): ");
  return path && !path->empty() ? path : std::nullopt;
}

std::vector<std::string> CliDialogs::okTexts() const {
  std::lock_guard lock(mutex_);
  return okTexts_;
}

}  // namespace kad::cli
