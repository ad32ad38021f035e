#include <gtest/gtest.h>

#include <vector>

#include "KeyPress.h"
#include "skin/ShapeButton.h"
#include "toolkit/Form.h"

namespace krelmix {
namespace {

class ButtonForm : public Form {
 public:
  ButtonForm() : Form(Style()) {}
  ShapeButton button{L"fcShapeBtn1"};
  std::vector<int> resultsSeenByClick;  // the form's modal result as each click handler saw it

 protected:
  void CreateControls() override {
    button.Look().isDefault = button.Look().isCancel = true;
    button.Look().modalResult = mrOk;
    Add(button, 100, {.bounds = {14, 173, 85, 25}, .caption = L"Угу!"});
    button.onClick = [this] { resultsSeenByClick.push_back(CurrentModalResult()); };
  }

 private:
  static FormStyle Style() {
    FormStyle style;
    style.className = L"KrelmixShapeButtonTest";
    style.clientSize = {300, 205};
    return style;
  }
};

void HoldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

int Clicks(ButtonForm& form, UINT message, WPARAM key, std::initializer_list<int> held = {}) {
  form.resultsSeenByClick.clear();
  form.SetModalResult(mrNone);
  HoldKeys(held);
  SendMessageW(form.button.Handle(), message, key, 1);
  HoldKeys({});
  return static_cast<int>(form.resultsSeenByClick.size());
}

TEST(ShapeButton, WindowIsClippedToTheRoundedFace) {
  ButtonForm form;
  form.CreateForm(nullptr);
  Region region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form.button.Handle(), region.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.Get(), 42, 12));  // the middle
  EXPECT_TRUE(PtInRegion(region.Get(), 42, 0));   // the top edge between the corners
  EXPECT_TRUE(PtInRegion(region.Get(), 0, 12));
  EXPECT_TRUE(PtInRegion(region.Get(), 83, 12));   // the face ends at width - 1 ...
  EXPECT_FALSE(PtInRegion(region.Get(), 84, 12));  // ... exclusive
  for (POINT corner : {POINT{0, 0}, POINT{2, 2}, POINT{83, 0}, POINT{0, 23}, POINT{82, 22}})
    EXPECT_FALSE(PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
}

TEST(ShapeButton, KeysClickOnlyWithoutModifiersAndTheModalResultComesFirst) {
  ButtonForm form;
  form.CreateForm(nullptr);
  EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_RETURN), 0);  // hidden: it cannot take the focus
  form.Show();
  EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_RETURN), 1);
  EXPECT_EQ(form.resultsSeenByClick, std::vector<int>{mrOk});
  EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_ESCAPE), 1);
  for (int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_RETURN, {modifier}), 0) << modifier;
    EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_ESCAPE, {modifier}), 0) << modifier;
  }
  EXPECT_EQ(form.CurrentModalResult(), mrNone);
  // The space bar clicks at its key-down, and only there.
  EXPECT_EQ(Clicks(form, WM_KEYDOWN, VK_SPACE), 1);
  EXPECT_EQ(Clicks(form, WM_CHAR, L' '), 0);
  EXPECT_EQ(Clicks(form, WM_KEYUP, VK_SPACE), 0);
  EXPECT_EQ(Clicks(form, WM_KEYDOWN, 'A'), 0);
  // A mouse click: the same order.
  form.resultsSeenByClick.clear();
  form.SetModalResult(mrNone);
  SendMessageW(form.button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.resultsSeenByClick, std::vector<int>{mrOk});
}

// Its form's command keys leave the focused button the keys it uses, and take the others.
TEST(ShapeButton, TheFocusedButtonKeepsItsOwnKeysFromItsFormsCommands) {
  ButtonForm form;
  form.CreateForm(nullptr);
  form.Show();
  int commands = 0;
  for (UINT key : {static_cast<UINT>(VK_RETURN), static_cast<UINT>('A')})
    form.Keys().Add({key}, [&commands] { ++commands; });
  SetFocus(form.button.Handle());
  test::PressKey(VK_RETURN);
  test::PressKey('A');
  EXPECT_EQ(form.resultsSeenByClick.size(), 1u);
  EXPECT_EQ(commands, 1);
}

}  // namespace
}  // namespace krelmix
