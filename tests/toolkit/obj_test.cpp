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

// Holds (A), releases (R) and frees (F) in turn: the object lives until the last step, which
// destroys it, notifying once and in order.
TEST(ObjTest, DestroyedAtTheFreeOrAtTheLastReleaseAfterIt) {
  for (const std::string ops : {"F", "AAFFRR", "ARF"}) {
    Journal journal;
    Probe* probe = new Probe(journal);
    for (std::size_t i = 0; i < ops.size(); ++i) {
      EXPECT_TRUE(journal.empty()) << ops << " before step " << i;
      if (ops[i] == 'A') probe->AddRef();
      if (ops[i] == 'R') probe->ReleaseRef();
      if (ops[i] == 'F') probe->Free();
    }
    EXPECT_EQ(journal, Destroyed) << ops;
  }
  TObj::Free(nullptr);
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
