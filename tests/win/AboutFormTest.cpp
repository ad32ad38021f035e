#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/About.h"

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

}  // namespace
}  // namespace krelmix
