#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScaleChange.h"
#include "ScreenReader.h"
#include "forms/About.h"
#include "forms/DirKillerForm.h"

namespace krelmix {
namespace {

// The mail link goes to the shell exactly so: quotes included, nothing percent-encoded.
TEST(AboutForm, TheMailLinkIsWrittenOutExactly) {
  EXPECT_EQ(SupportMailLink(),
            L"mailto:support@krelmix.example.org?subject=\"(Krelmix Support)\"&body=\"Версия 0.08 (Rel. 30 "
            L"декабря 2007 г.)\"");
}

TEST(AboutForm, ADoubleClickOnALinkHandsItsAddressToTheShellOnceASingleClickNothing) {
  TAboutForm form;
  std::vector<std::wstring> opened;
  form.shellOpen = [&](HWND owner, const std::wstring& target) {
    EXPECT_EQ(owner, form.Handle());
    opened.push_back(target);
  };
  form.CreateForm(nullptr);
  const LPARAM homePage = MAKELPARAM(197, 162), mail = MAKELPARAM(197, 182);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, homePage);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, homePage);
  EXPECT_TRUE(opened.empty());
  SendMessageW(form.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, homePage);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, homePage);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"https://krelmix.example.org/"});
  opened.clear();
  SendMessageW(form.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, mail);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, mail);
  EXPECT_EQ(opened, std::vector<std::wstring>{SupportMailLink()});
}

// The About and result windows keep their keys (Enter and Esc close them); a screen reader finds
// their links, texts and button.
TEST(AboutForm, AScreenReaderFindsTheLinksThePicturesAndTheButton) {
  test::ComScope com;
  TAboutForm form;
  form.CreateForm(nullptr);
  const test::ReadElement tree = test::ReadWindow(form.Handle());
  const test::ReadElement home = test::Child(tree, L"Домашняя страница");
  EXPECT_EQ(home.role, ROLE_SYSTEM_LINK);
  EXPECT_EQ(home.action, L"Перейти");
  EXPECT_TRUE(home.Has(STATE_SYSTEM_LINKED));
  EXPECT_EQ(test::Child(tree, L"Письмо автору").role, ROLE_SYSTEM_LINK);
  EXPECT_EQ(test::Child(tree, L"Сама Krelmix!").role, ROLE_SYSTEM_GRAPHIC);  // no caption: named by its hint
  EXPECT_EQ(test::Child(tree, L"Угу!").role, ROLE_SYSTEM_PUSHBUTTON);
}

TEST(ResultWindow, AScreenReaderReadsTheHeadingsTheFiguresAndTheButton) {
  test::ComScope com;
  TempCleanResult result;
  result.killedFiles = 12;
  TDirKillerForm2 form(result);
  form.CreateForm(nullptr);
  const test::ReadElement tree = test::ReadWindow(form.Handle());
  EXPECT_EQ(test::Child(tree, L"Убрано:").role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(test::Child(tree, L"12").role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(test::Child(tree, L"Удостоверился").role, ROLE_SYSTEM_PUSHBUTTON);
}

// Moved to a monitor of another scale, a skinned window and a framed one are laid out again there.
TEST(ScaleChange, TheAboutAndResultWindowsFollowTheirMonitorsScale) {
  TAboutForm about;
  about.CreateForm(nullptr);
  TempCleanResult result;
  TDirKillerForm2 figures(result);
  figures.CreateForm(nullptr);
  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    test::ExpectLaidOutAgainAt(about, dpi);
    test::ExpectLaidOutAgainAt(figures, dpi);
  }
}

}  // namespace
}  // namespace krelmix
