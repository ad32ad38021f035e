#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "toolkit/MessageDialog.h"

namespace krelmix {
namespace {

std::wstring Text(HWND hwnd) {
  wchar_t text[1024] = {};
  SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

struct Found {
  HWND dialog = nullptr;
  std::wstring caption;
};

BOOL CALLBACK FindOwnDialog(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  if (pid == GetCurrentProcessId() && std::wstring(name) == L"#32770" && IsWindowVisible(hwnd)) {
    reinterpret_cast<Found*>(param)->dialog = hwnd;
    return FALSE;
  }
  return TRUE;
}

// What another thread sees of the dialog while it is shown, through standard window messages
// only, as a test driver in another process would.
struct Seen {
  std::wstring caption, text, yes, no;
  bool ownerEnabled = true;
  LRESULT defaultId = 0;
  HICON icon = nullptr;
  RECT dialogRect{}, ownerRect{};
};

class DialogDriver {
 public:
  DialogDriver(HWND owner, std::function<void(HWND dialog)> answer) : owner_(owner), answer_(std::move(answer)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~DialogDriver() {
    WaitForSingleObject(thread_, 15000);
    CloseHandle(thread_);
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  const Seen& Observed() {
    WaitForSingleObject(thread_, 15000);
    return seen_;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<DialogDriver*>(self)->Drive();
    return 0;
  }
  void Drive() {
    Found found;
    for (int i = 0; i < 300 && !found.dialog; ++i) {
      Sleep(20);
      EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&found));
    }
    if (!found.dialog) return;
    Sleep(100);  // let it finish its layout
    HWND dialog = found.dialog;
    seen_.caption = Text(dialog);
    seen_.yes = Text(GetDlgItem(dialog, IDYES));
    seen_.no = Text(GetDlgItem(dialog, IDNO));
    seen_.text = Text(GetDlgItem(dialog, 101));
    seen_.ownerEnabled = IsWindowEnabled(owner_) != FALSE;
    seen_.defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    seen_.icon = reinterpret_cast<HICON>(SendDlgItemMessageW(dialog, 100, STM_GETICON, 0, 0));
    GetWindowRect(dialog, &seen_.dialogRect);
    GetWindowRect(owner_, &seen_.ownerRect);
    answer_(dialog);
  }

  HWND owner_;
  std::function<void(HWND)> answer_;
  HANDLE thread_ = nullptr;
  Seen seen_;
};

// One owner for all: under Wine with no window manager every hide of a window takes 2 s.
class MessageDialogTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 200, 150, 500, 400, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(owner); }

  bool Ask(MessageDialogKind kind, const std::wstring& text, std::function<void(HWND)> answer, Seen* seen = nullptr,
           DefaultAnswer defaultAnswer = DefaultAnswer::Yes) {
    DialogDriver driver(owner, std::move(answer));
    const bool yes = ShowMessageDialog(owner, kind, text, defaultAnswer);
    if (seen) *seen = driver.Observed();
    return yes;
  }

  static HWND owner;
};

HWND MessageDialogTest::owner = nullptr;

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void Key(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

TEST_F(MessageDialogTest, ConfirmationShowsItsCaptionIconTextAndButtonsOverADisabledOwner) {
  Seen seen;
  EXPECT_TRUE(Ask(
      MessageDialogKind::Confirmation, L"Неужели вы хотите остановить?", [](HWND d) { Click(d, IDYES); }, &seen));
  EXPECT_EQ(seen.caption, L"Подтверждение");
  EXPECT_EQ(seen.text, L"Неужели вы хотите остановить?");
  EXPECT_EQ(seen.yes, L"&Да");
  EXPECT_EQ(seen.no, L"&Нет");
  EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_QUESTION));
  EXPECT_EQ(seen.defaultId, MAKELONG(IDYES, DC_HASDEFID));
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  // Centred on the owner.
  EXPECT_NEAR((seen.dialogRect.left + seen.dialogRect.right) / 2, (seen.ownerRect.left + seen.ownerRect.right) / 2, 2);
  EXPECT_NEAR((seen.dialogRect.top + seen.dialogRect.bottom) / 2, (seen.ownerRect.top + seen.ownerRect.bottom) / 2, 2);
}

TEST_F(MessageDialogTest, InformationKindKeepsLineBreaksAndAmpersandsOfItsText) {
  const std::wstring text = L"Вы хотите удалить все содержимое\nвременной папки C:\\A&B\\Temp\\?";
  Seen seen;
  EXPECT_FALSE(Ask(
      MessageDialogKind::Information, text, [](HWND d) { Click(d, IDNO); }, &seen));
  EXPECT_EQ(seen.caption, L"Информация");
  EXPECT_EQ(seen.text, text);
  EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_INFORMATION));
  // Tall enough for the two lines.
  EXPECT_GT(seen.dialogRect.bottom - seen.dialogRect.top, 60);
}

TEST_F(MessageDialogTest, EnterAnswersTheDefaultEscAndClosingAnswerNo) {
  EXPECT_TRUE(Ask(MessageDialogKind::Confirmation, L"?", [](HWND d) { Key(d, VK_RETURN); }));
  Seen seen;
  EXPECT_FALSE(Ask(
      MessageDialogKind::Confirmation, L"?", [](HWND d) { Key(d, VK_RETURN); }, &seen, DefaultAnswer::No));
  EXPECT_EQ(seen.defaultId, MAKELONG(IDNO, DC_HASDEFID));
  EXPECT_FALSE(Ask(MessageDialogKind::Confirmation, L"?", [](HWND d) { Key(d, VK_ESCAPE); }));
  EXPECT_FALSE(Ask(MessageDialogKind::Information, L"?", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }));
  EXPECT_FALSE(Ask(MessageDialogKind::Information, L"?", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
}  // namespace krelmix
