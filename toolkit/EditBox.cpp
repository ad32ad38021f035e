#include "toolkit/EditBox.h"

namespace krelmix {

void EditBox::SetText(const std::wstring& text) { SetWindowTextW(Handle(), text.c_str()); }

}  // namespace krelmix
