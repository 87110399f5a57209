#include "clicker/click_tick.h"

#include "platform/desktop_services.h"

namespace quorvin {

void ClickAtCursor(int kind, const WorkPermit* permit) {
  const int x = CursorX();
  const int y = CursorY();
  if (permit != nullptr && !permit->Begin()) return;
  SynthesizeClick(x, y, kind);
}

void ClickTick(const ClickerControls& controls, const WorkPermit* permit) {
  // Three independent reads; "右键单击" is sent as a right double click.
  if (GetSelectedIndex(controls.组合框_鼠标点击类型) == 0) ClickAtCursor(kLeftClick, permit);
  if (GetSelectedIndex(controls.组合框_鼠标点击类型) == 1) ClickAtCursor(kRightDoubleClick, permit);
  if (GetSelectedIndex(controls.组合框_鼠标点击类型) == 2) ClickAtCursor(kLeftDoubleClick, permit);
}

}  // namespace quorvin
