#include <gtest/gtest.h>

#include <vector>

#include "list.h"

namespace {

// A full list grows by GrowBy (4 unless set above 0); an index out of range inserts at the
// nearest end and deletes nothing, and a count is cut to what lies there.
TEST(Lists, ListGrowsWhenFullAndKeepsInsertsAndDeletesInsideItself) {
  int slots[8];
  TOwned<TList> list(CreateList());
  list->SetGrowBy(0);
  for (int i = 0; i < 5; ++i) list->Add(&slots[i]);
  EXPECT_EQ(list->Capacity(), 8);
  list->Insert(100, &slots[5]);
  list->Insert(-1, &slots[6]);
  list->Insert(2, &slots[7]);
  list->Delete(3, 2);
  list->Delete(5, 100);
  list->Delete(-1);
  list->SetCapacity(-1);  // never below the count: full again
  list->Add(&slots[4]);
  EXPECT_EQ(list->Capacity(), 9);
  std::vector<void*> items;
  for (int i = 0; i < list->Count(); ++i) items.push_back(list->Items(i));
  EXPECT_EQ(items, (std::vector<void*>{&slots[6], &slots[0], &slots[7], &slots[3], &slots[4],
                                       &slots[4]}));
}

}  // namespace
