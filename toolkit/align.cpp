#include <windows.h>

#include <algorithm>
#include <vector>

#include "control.h"

namespace {

constexpr std::uint8_t AlignLeft = 1;
constexpr std::uint8_t AlignTop = 2;
constexpr std::uint8_t AlignRight = 3;
constexpr std::uint8_t AlignBottom = 4;
constexpr std::uint8_t AlignClient = 5;

// Moving a child sends it WM_SIZE, whose handling re-aligns this same parent: the parents
// being laid out are remembered so the nested call returns at once.
std::vector<TControl*> Aligning;

// Returns whether the size changed.
bool Place(TControl* child, const RECT& rect) {
  const RECT old = child->BoundsRect;
  if (EqualRect(&old, &rect)) return false;
  child->BoundsRect = rect;
  if (child->Handle)
    SetWindowPos(child->Handle, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  return old.right - old.left != rect.right - rect.left ||
         old.bottom - old.top != rect.bottom - rect.top;
}

// The side a child takes its slice from, or the rest of the area for a client child; the
// area shrinks by the slice and never turns inside out.
RECT Slice(RECT& area, std::uint8_t align, int width, int height) {
  RECT r = area;
  switch (align) {
    case AlignTop:
      r.bottom = std::min(area.bottom, area.top + height);
      area.top = r.bottom;
      break;
    case AlignBottom:
      r.top = std::max(area.top, area.bottom - height);
      area.bottom = r.top;
      break;
    case AlignLeft:
      r.right = std::min(area.right, area.left + width);
      area.left = r.right;
      break;
    case AlignRight:
      r.left = std::max(area.left, area.right - width);
      area.right = r.left;
      break;
    default:
      break;
  }
  return r;
}

bool InPass(std::uint8_t align, int pass) {
  switch (pass) {
    case 0: return align == AlignTop || align == AlignBottom;
    case 1: return align == AlignLeft || align == AlignRight;
    default: return align == AlignClient;
  }
}

}  // namespace

void AlignChildren(TControl* parent) {
  if (!parent || std::find(Aligning.begin(), Aligning.end(), parent) != Aligning.end()) return;
  const bool anyAligned = std::any_of(parent->Children.begin(), parent->Children.end(),
                                      [](const TControl* c) { return c->Align != 0; });
  if (!anyAligned) return;
  Aligning.push_back(parent);
  // Without a window ClientRect is the bounds in the grandparent's coordinates; children are
  // placed from the parent's own top-left corner.
  RECT area = parent->ClientRect();
  OffsetRect(&area, -area.left, -area.top);
  std::vector<TControl*> resized;
  for (int pass = 0; pass < 3; ++pass) {
    // By index: a child's size handler may add controls while the list is walked.
    for (std::size_t i = 0; i < parent->Children.size(); ++i) {
      TControl* child = parent->Children[i];
      if (!child->Visible || !InPass(child->Align, pass)) continue;
      const RECT r = Slice(area, child->Align, child->Width(), child->Height());
      if (Place(child, r)) resized.push_back(child);
    }
  }
  Aligning.erase(std::find(Aligning.begin(), Aligning.end(), parent));
  for (TControl* child : resized) AlignChildren(child);
}

void TControl::SetAlign(std::uint8_t align) {
  if (align == Align) return;
  Align = align;
  AlignChildren(Parent);
}
