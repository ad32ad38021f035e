// The found list's window: what the list box itself holds while the program adds lines.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "toolkit/CheckListBox.h"

namespace krelmix {
namespace {

void DispatchWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

LRESULT ShownCount(const CheckListBox& list) { return SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0); }

std::wstring LineOf(const CheckListBox& list, int index) {
  wchar_t text[64] = {};
  SendMessageW(list.Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

class Host {
 public:
  Host()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~Host() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(CheckListBox, TheListBoxLearnsOfNewLinesOnceTheProgramReadsItsMessages) {
  Host host;
  CheckListBox list(L"list");
  list.Create(host.Get(), 1, {.bounds = {0, 0, 280, 160}});
  list.Add(L"one");
  list.Add(L"two");
  DispatchWaiting();
  EXPECT_EQ(ShownCount(list), 2);
  EXPECT_EQ(LineOf(list, 1), L"two");
}

// While a run holds the list, a count given to the list box would repaint it at every read of
// the queue; it shows the lines it had until the hold ends, and its new lines are readable.
TEST(CheckListBox, AHeldListKeepsItsCountUntilTheHoldEnds) {
  Host host;
  CheckListBox list(L"list");
  list.Create(host.Get(), 1, {.bounds = {0, 0, 280, 160}});
  list.Add(L"one");
  DispatchWaiting();
  list.BeginUpdate();
  list.Add(L"two");
  list.Add(L"three");
  DispatchWaiting();
  UpdateWindow(list.Handle());
  EXPECT_EQ(ShownCount(list), 1);
  EXPECT_EQ(LineOf(list, 2), L"three");
  list.SetItemIndex(2);
  list.EndUpdate();
  EXPECT_EQ(ShownCount(list), 3);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.Add(L"four");
  DispatchWaiting();
  EXPECT_EQ(ShownCount(list), 4);
}

// Lines kept outside the list, as the engine keeps its finds.
struct Lines : CheckListModel {
  std::vector<std::wstring> texts;
  std::vector<bool> ticks;
  size_t Count() const override { return texts.size(); }
  size_t Length(size_t index) const override { return texts[index].size(); }
  size_t CopyText(size_t index, wchar_t* out) const override {
    const size_t length = texts[index].copy(out, texts[index].size());
    out[length] = L'\0';
    return length;
  }
  bool Ticked(size_t index) const override { return ticks[index]; }
  void SetTicked(size_t index, bool ticked) override { ticks[index] = ticked; }
};

// A list showing data kept elsewhere reads its lines from it, learns of new and removed lines
// when told, writes the user's ticks into it and keeps no lines of its own.
TEST(CheckListBox, AListShowingAModelReadsItAndWritesTheUsersTicksIntoIt) {
  Host host;
  CheckListBox list(L"list");
  list.Create(host.Get(), 1, {.bounds = {0, 0, 280, 160}});
  list.Add(L"own line");
  Lines model;
  model.texts = {L"T:\\a.bak", L"T:\\b.bak"};
  model.ticks = {false, false};
  list.ShowModel(model);
  EXPECT_EQ(ShownCount(list), 2);
  EXPECT_EQ(LineOf(list, 0), L"T:\\a.bak");
  model.texts.push_back(L"T:\\c.bak");
  model.ticks.push_back(false);
  list.LinesAdded();
  DispatchWaiting();
  EXPECT_EQ(ShownCount(list), 3);
  list.SetItemIndex(2);
  SendMessageW(list.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(model.ticks, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETITEMDATA, 2, 0), 1);
  EXPECT_THROW(list.Add(L"not here"), std::logic_error);
  model.texts.clear();
  model.ticks.clear();
  list.LinesReset();
  EXPECT_EQ(ShownCount(list), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
}

}  // namespace
}  // namespace krelmix
