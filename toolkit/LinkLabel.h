#pragma once
// A label that draws its caption with highlight, shadow and bevel effects and can be a link: under
// the mouse it takes the link cursor and its hover colours, and a click hands its address to the
// shell.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "toolkit/GraphicControl.h"

namespace krelmix {

enum class LabelBevel { Frame, Lowered, None, Raised, Single };
enum class HighlightPos { TopLeft, TopRight };
enum class LinkType { EMail, News, None, WWW };
enum class TextLayout { Top, Center, Bottom };

// The program's cursor table: numbered cursors registered once and shared by every control.
constexpr int kLinkCursor = -30;
void RegisterScreenCursor(int index, BorrowedCursor cursor);
BorrowedCursor ScreenCursor(int index);  // none when none is registered under the number
BorrowedCursor LinkCursorAt(DisplayScale scale);

// What a click on a link hands to the shell; none for LinkType::None or an empty address.
std::optional<std::wstring> LinkTarget(LinkType type, const std::wstring& address);

struct LinkLabelLook {
  UINT alignment = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
  TextLayout layout = TextLayout::Top;
  bool wordWrap = false;
  bool transparent = false;
  Shade color = Shade::System(COLOR_BTNFACE);
  // What a transparent label shows through: its host's colour, or a skin (a fixed colour).
  Shade behind = Shade::System(COLOR_BTNFACE);
  Shade fontColor = Shade::System(COLOR_BTNTEXT);
  LabelBevel bevel = LabelBevel::None;
  int bevelWidth = 1;
  int borderWidth = 0;
  bool showHighlight = false;
  Shade highlightColor = Shade::System(COLOR_BTNHIGHLIGHT);
  int highlightOffset = 1;
  HighlightPos highlightPos = HighlightPos::TopLeft;
  bool showShadow = false;
  Shade shadowColor = Shade::System(COLOR_BTNSHADOW);
  int shadowOffset = 1;
  bool linkActive = false;
  LinkType linkType = LinkType::WWW;
  std::wstring linkedAddress = L"http://www.example.com";
  Shade hoverColor = Shade::System(COLOR_BTNFACE);
  std::optional<Shade> hoverFontColor;  // the font's colour when not set
  bool underlineOnEnter = true;
};

class LinkLabel : public GraphicControl {
 public:
  // Loads the link cursor from the program's resources and registers it, as every label does.
  explicit LinkLabel(std::wstring name);
  const wchar_t* Kind() const override { return L"label"; }
  long AccessibleRole() const override;
  bool HasDefaultAction() const override { return look_.linkActive || onClick; }
  void DoDefaultAction() override { Click(); }
  LinkLabelLook& Look() { return look_; }
  const LinkLabelLook& Look() const { return look_; }
  bool Hovering() const { return hovering_; }

  std::function<void()> onLink;        // before the target goes to the shell
  std::function<void()> onMouseEnter;  // after the label took its hover look
  std::function<void()> onMouseLeave;
  // Hands a target to the shell; by default ShellExecute with "open" and SW_SHOWNORMAL.
  std::function<void(const std::wstring&)> openInShell;

  void Paint(HDC dc) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseUp(bool inside) override;
  // The click: its handler, then the link.
  void Click();

 private:
  LinkLabelLook look_;
  bool hovering_ = false;
  BorrowedCursor cursorBeforeHover_;
};

}  // namespace krelmix
