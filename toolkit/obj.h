#pragma once
// Root of every toolkit object: a hold counter that lets code calling out of an object survive
// the object being freed during the call, and notifications of its destruction.

#include <cstdint>
#include <memory>
#include <vector>

#include "method.h"

class TObj;
using TNotifyEvent = TMethod<TObj*>;  // (data, sender)

class TObj {
public:
  TObj() = default;
  TObj(const TObj&) = delete;
  TObj& operator=(const TObj&) = delete;

  // Holds add 2; a Free while held sets bit 0 and the last ReleaseRef destroys the object.
  void AddRef() { RefCount += 2; }
  void ReleaseRef();
  void Free();                       // the only way to destroy a TObj
  static void Free(TObj* object) {   // Free on no object does nothing
    if (object) object->Free();
  }

  struct TFreeNotifier {
    void (*Proc)(void* data, TObj* sender) = nullptr;
    void* Data = nullptr;
  };
  void AddFreeNotifier(TFreeNotifier notifier);
  // A listener that goes before the object must take its notifier back.
  void RemoveFreeNotifier(TFreeNotifier notifier);

  std::int32_t RefCount = 0;
  TNotifyEvent OnDestroy;

protected:
  virtual ~TObj() = default;
  // First step of the destruction, before anyone is told of it.
  virtual void BeforeDestruction() {}

private:
  // OnDestroy (called once and cleared), then the free notifiers in order, while the object is
  // still whole; then delete.
  void Destroy();

  std::vector<TFreeNotifier> FreeNotifiers;
};

// Owner of a toolkit object: freeing goes through TObj::Free so held objects stay alive.
struct TObjFree {
  void operator()(TObj* object) const { TObj::Free(object); }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjFree>;
