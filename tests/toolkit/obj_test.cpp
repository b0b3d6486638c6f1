#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "obj.h"

namespace {

using Journal = std::vector<std::string>;

// Logs its OnDestroy, two free notifiers and its destructor, each checking the sender it gets.
class Probe : public TObj {
public:
  explicit Probe(Journal& log) : journal(log) {
    OnDestroy = MakeMethod<&Probe::Destroying, TObj*>(this);
    AddFreeNotifier({Note<1>, this});
    AddFreeNotifier({Note<2>, this});
  }

  void (*duringDestroy)(Probe* self) = nullptr;  // reaches back into the dying object

protected:
  ~Probe() override { journal.push_back("destructor"); }

private:
  template <int N>
  static void Note(void* data, TObj* sender) {
    auto* self = static_cast<Probe*>(data);
    self->journal.push_back(sender == self ? "notifier " + std::to_string(N) : "stranger");
  }
  void Destroying(TObj* sender) {
    journal.push_back(sender == this ? "OnDestroy" : "stranger");
    if (duringDestroy) duringDestroy(this);
  }

  Journal& journal;
};

const Journal Destroyed = {"OnDestroy", "notifier 1", "notifier 2", "destructor"};

TEST(ObjTest, FreeWithoutHoldsDestroysAtOnceNotifyingOnceInOrder) {
  Journal journal;
  (new Probe(journal))->Free();
  EXPECT_EQ(journal, Destroyed);
  TObj::Free(nullptr);
}

TEST(ObjTest, FreeWhileHeldIsOnePendingFreeUntilTheLastRelease) {
  Journal journal;
  Probe* probe = new Probe(journal);
  probe->AddRef();
  probe->AddRef();
  probe->Free();
  probe->Free();
  probe->ReleaseRef();
  EXPECT_TRUE(journal.empty());
  probe->ReleaseRef();
  EXPECT_EQ(journal, Destroyed);
}

TEST(ObjTest, BalancedHoldWithoutFreeLeavesTheObjectToAnOrdinaryFree) {
  Journal journal;
  Probe* probe = new Probe(journal);
  probe->AddRef();
  probe->ReleaseRef();
  EXPECT_TRUE(journal.empty());
  probe->Free();
  EXPECT_EQ(journal, Destroyed);
}

TEST(ObjTest, ObjectIsDestroyedOnceWhateverItsHandlersDoWhileItGoes) {
  Journal freeing;
  Probe* probe = new Probe(freeing);
  probe->duringDestroy = [](Probe* self) { self->Free(); };
  probe->Free();
  EXPECT_EQ(freeing, Destroyed);

  // A hold taken and given back while it goes, as a window's last messages do, after a
  // deferred free.
  Journal holding;
  probe = new Probe(holding);
  probe->duringDestroy = [](Probe* self) {
    self->AddRef();
    self->ReleaseRef();
  };
  probe->AddRef();
  probe->Free();
  probe->ReleaseRef();
  EXPECT_EQ(holding, Destroyed);
}

}  // namespace
