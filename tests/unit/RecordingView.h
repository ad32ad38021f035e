#pragma once
// A main window for the engine's tests: watches the engine's found list, and records every call
// in order so tests can check what the user would have seen and when.
#include <functional>
#include <string>
#include <vector>

#include "cleanup/CleanupView.h"
#include "cleanup/FoundList.h"

namespace krelmix::test {

class RecordingView : public CleanupView, public FoundListListener {
 public:
  const FoundList* finds = nullptr;
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

  void Watch(FoundList& list) {
    finds = &list;
    list.SetListener(this);
  }
  void FindsAdded() override { log.push_back(L"append: " + finds->Path(finds->Count() - 1)); }
  void FindChanged(size_t) override {}
  void AllFindsChanged() override {}
  void FindsCleared() override { log.push_back(L"clear"); }
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
  // The found list's lines as the window shows them.
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < finds->Count(); ++i) out.push_back(finds->Text(i));
    return out;
  }
  std::vector<bool> Ticks() const {
    std::vector<bool> out;
    for (size_t i = 0; i < finds->Count(); ++i) out.push_back(finds->Ticked(i));
    return out;
  }
};

}  // namespace krelmix::test
