// The step every loop of the program takes before it dispatches a message.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "KeyPress.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Form.h"
#include "toolkit/MessagePump.h"

namespace krelmix {
namespace {

// What reached the window: "down K" for a key-down, "char k" for the character it made.
std::vector<std::string> g_dispatched;
LRESULT CALLBACK NotingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) g_dispatched.push_back("down " + std::string(1, static_cast<char>(wParam)));
  if (message == WM_CHAR) g_dispatched.push_back("char " + std::string(1, static_cast<char>(wParam)));
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND NotingWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = NotingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KrelmixMessageLoopTest";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

void PostKey(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, 1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16));
}

FormStyle ModalStyle() {
  FormStyle style;
  style.className = L"KrelmixMessageLoopTestForm";
  style.clientSize = {50, 50};
  return style;
}

TEST(MessageLoop, EveryLoopAsksTheFiltersNewestFirstAndAKeyTakenIsNeitherDispatchedNorTranslated) {
  const HWND window = NotingWindow();
  Form modal(ModalStyle());
  modal.CreateForm(nullptr);
  std::vector<std::string> asked;
  test::KeyLog older(asked, 'A'), newer(asked, 'B', 'T');
  const std::pair<const char*, std::function<void()>> loops[] = {
      {"pump", [] { MessagePump(0).PumpNow(); }},
      {"main loop",
       [] {
         PostQuitMessage(3);
         EXPECT_EQ(RunMessageLoop(), 3);
       }},
      {"modal loop",
       [&modal] {
         PostMessageW(modal.Handle(), kSetModalResultMessage, mrOk, 0);
         EXPECT_EQ(modal.ShowModal(), mrOk);
       }},
  };
  for (const auto& [name, loop] : loops) {
    asked.clear();
    g_dispatched.clear();
    PostKey(window, 'K');
    PostKey(window, 'T');
    loop();
    // A modal loop ends before the character its translation posted: it is fetched here, untranslated.
    MSG left;
    while (PeekMessageW(&left, window, 0, 0, PM_REMOVE)) DispatchMessageW(&left);
    EXPECT_EQ(asked, (std::vector<std::string>{"BK", "AK", "BT"})) << name;
    EXPECT_EQ(g_dispatched, (std::vector<std::string>{"down K", "char k"})) << name;
  }
  DestroyWindow(window);
}

// One filter closes the window of another (a key's command ends a dialog); one fails.
class Closing : public MessageFilter {
 public:
  explicit Closing(std::unique_ptr<test::KeyLog>& other) : other_(other) {}
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.wParam == 'E') throw std::runtime_error("broken");
    other_.reset();
    return false;
  }

 private:
  std::unique_ptr<test::KeyLog>& other_;
};

TEST(MessageLoop, AFilterGoneMeanwhileIsNotAskedAndOneThatFailsIsReportedAndTakesTheMessage) {
  std::vector<std::string> asked;
  auto older = std::make_unique<test::KeyLog>(asked, 'A');
  Closing closing(older);
  MSG key{nullptr, WM_KEYDOWN, 'X', 0, 0, {}};
  EXPECT_FALSE(PreTranslate(key));
  EXPECT_TRUE(asked.empty());
  std::vector<std::wstring> errors;
  SetErrorReportHandler([&errors](HWND, const std::wstring& text) { errors.push_back(text); });
  key.wParam = 'E';
  EXPECT_TRUE(PreTranslate(key));
  SetErrorReportHandler(nullptr);
  EXPECT_EQ(errors, std::vector<std::wstring>{L"broken"});
}

}  // namespace
}  // namespace krelmix
