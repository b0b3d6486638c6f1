#include "obj.h"

void TObj::ReleaseRef() {
  RefCount -= 2;
  if (RefCount < 0 && (RefCount & 1) != 0) Destroy();
}

void TObj::Free() {
  if (RefCount == 0) {
    Destroy();
  } else if ((RefCount & 1) == 0) {
    RefCount -= 1;  // pending: the last ReleaseRef destroys
  }
}

void TObj::AddFreeNotifier(TFreeNotifier notifier) { FreeNotifiers.push_back(notifier); }

// Only blanked: Destroy may be walking the list by index right now.
void TObj::RemoveFreeNotifier(TFreeNotifier notifier) {
  for (TFreeNotifier& n : FreeNotifiers)
    if (n.Proc == notifier.Proc && n.Data == notifier.Data) n.Proc = nullptr;
}

void TObj::Destroy() {
  // From here on the object counts as freed with nothing holding it: a Free from a handler does
  // nothing, and a hold taken while it goes (a window's last messages sent from a destructor)
  // balances back to this value instead of destroying the object a second time.
  RefCount = 1;
  BeforeDestruction();
  TNotifyEvent onDestroy = OnDestroy;
  OnDestroy = {};
  onDestroy(this);
  for (std::size_t i = 0; i < FreeNotifiers.size(); ++i) {
    const TFreeNotifier n = FreeNotifiers[i];
    if (n.Proc) n.Proc(n.Data, this);
  }
  delete this;
}
