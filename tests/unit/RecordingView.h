#pragma once
// A main window for the engine's tests: keeps the found list, and records every other call in
// order so tests can check what the user would have seen and when.
#include <functional>
#include <string>
#include <vector>

#include "cleanup/CleanupView.h"

namespace krelmix::test {

class RecordingView : public CleanupView {
 public:
  struct Line {
    std::wstring text;
    bool ticked = false;
  };
  std::vector<Line> lines;
  std::vector<std::wstring> log;  // "pump", "status: ...", "files: ...", "sound: 5", ...
  int pumps = 0;
  bool answer = true;  // the answer to every question
  // Runs at every pump; returning false reports the window closing.
  std::function<bool(int pump)> onPump;
  std::function<void(const std::wstring&)> onStatus;
  std::wstring status;
  std::vector<SoundEvent> sounds;
  std::vector<std::wstring> messages, questions;
  bool driveListEnabled = true;
  MainButtonRule buttons;  // the main window's rule, applied to the runs reported
  // Every character is this many pixels wide.
  int charWidth = 7;

  size_t FoundCount() override { return lines.size(); }
  void ClearFound() override {
    lines.clear();
    log.push_back(L"clear");
  }
  void AppendFound(const std::wstring& line) override {
    lines.push_back({line, false});
    log.push_back(L"append: " + line);
  }
  std::wstring FoundLine(size_t index) override { return lines.at(index).text; }
  void SetFoundLine(size_t index, const std::wstring& text) override { lines.at(index) = {text, false}; }
  bool FoundTicked(size_t index) override { return lines.at(index).ticked; }
  void SetFoundTicked(size_t index, bool ticked) override { lines.at(index).ticked = ticked; }
  void MakeFoundCurrent(size_t index) override { log.push_back(L"current: " + std::to_wstring(index)); }

  void SetFolderCounter(const std::wstring& text) override { log.push_back(L"folders: " + text); }
  void SetFileCounter(const std::wstring& text) override { log.push_back(L"files: " + text); }
  void SetStatus(const std::wstring& text) override {
    status = text;
    log.push_back(L"status: " + text);
    if (onStatus) onStatus(text);
  }
  int TextWidth(std::wstring_view text) override { return static_cast<int>(text.size()) * charWidth; }

  void EnableDriveList(bool enabled) override {
    driveListEnabled = enabled;
    log.push_back(enabled ? L"drives on" : L"drives off");
  }
  void RunStarts(RunKind kind) override { buttons.RunStarts(kind); }
  void RunEnds(RunKind kind, const RunEnd& end) override { buttons.RunEnds(kind, end); }
  bool Enabled(MainButton button) const { return buttons.Enabled(button); }

  bool PumpMessages() override {
    ++pumps;
    log.push_back(L"pump");
    return onPump ? onPump(pumps) : true;
  }
  bool Ask(QuestionKind kind, const std::wstring& text) override {
    questions.push_back((kind == QuestionKind::Confirmation ? L"confirm: " : L"info: ") + text);
    return answer;
  }
  void ShowMessage(const std::wstring& text) override {
    messages.push_back(text);
    log.push_back(L"message: " + text);
  }
  void PlayEventSound(SoundEvent event) override {
    sounds.push_back(event);
    log.push_back(L"sound: " + std::to_wstring(static_cast<int>(event)));
  }

  // The log lines that start with `prefix`, without it.
  std::vector<std::wstring> Logged(const std::wstring& prefix) const {
    std::vector<std::wstring> out;
    for (const auto& entry : log)
      if (entry.rfind(prefix, 0) == 0) out.push_back(entry.substr(prefix.size()));
    return out;
  }
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> out;
    for (const auto& line : lines) out.push_back(line.text);
    return out;
  }
};

}  // namespace krelmix::test
