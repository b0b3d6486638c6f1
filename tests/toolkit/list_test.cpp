#include <gtest/gtest.h>

#include <vector>

#include "list.h"

namespace {

using ListPtr = TOwned<TList>;

int Slots[10];  // distinct item pointers, never dereferenced

std::vector<void*> Items(std::initializer_list<int> slots) {
  std::vector<void*> items;
  for (int i : slots) items.push_back(&Slots[i]);
  return items;
}

ListPtr ListOf(std::initializer_list<int> slots) {
  ListPtr list(CreateList());
  for (void* item : Items(slots)) list->Add(item);
  return list;
}

std::vector<void*> Contents(const TList& list) {
  std::vector<void*> items;
  for (std::int32_t i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
  return items;
}

TEST(ListTest, GrowsLinearlyByGrowByWhenFull) {
  ListPtr list = ListOf({0, 1, 2, 3});
  EXPECT_EQ(list->Capacity(), 4);
  list->Add(&Slots[4]);
  EXPECT_EQ(list->Capacity(), 8);
  for (int i = 5; i < 9; ++i) list->Add(&Slots[i]);
  EXPECT_EQ(list->Capacity(), 12);
  EXPECT_EQ(Contents(*list), Items({0, 1, 2, 3, 4, 5, 6, 7, 8}));

  for (auto [growBy, expected] : {std::pair{10, 10}, {0, 4}, {-3, 4}}) {
    ListPtr other(CreateList());
    other->SetGrowBy(growBy);
    other->Add(&Slots[0]);
    EXPECT_EQ(other->Capacity(), expected) << "GrowBy " << growBy;
  }
}

TEST(ListTest, CapacityIsExactAndNeverBelowCount) {
  ListPtr list = ListOf({0, 1, 2});
  list->SetCapacity(100);
  EXPECT_EQ(list->Capacity(), 100);
  list->SetCapacity(-5);
  EXPECT_EQ(list->Capacity(), 3);
  // Full after the shrink: the next Add must grow rather than write past the end.
  list->Add(&Slots[3]);
  EXPECT_EQ(list->Capacity(), 7);
  EXPECT_EQ(Contents(*list), Items({0, 1, 2, 3}));
}

TEST(ListTest, InsertOutOfRangeGoesToTheNearestEnd) {
  ListPtr list = ListOf({0, 1, 2, 3});  // full: the first Insert has to grow
  list->Insert(2, &Slots[9]);
  list->Insert(0, &Slots[8]);
  list->Insert(list->Count(), &Slots[7]);
  EXPECT_EQ(Contents(*list), Items({8, 0, 1, 9, 2, 3, 7}));
  list->Insert(100, &Slots[6]);
  list->Insert(-1, &Slots[5]);
  EXPECT_EQ(Contents(*list), Items({5, 8, 0, 1, 9, 2, 3, 7, 6}));
}

TEST(ListTest, DeleteCutsNToWhatRemainsAndIgnoresIndexesOutOfRange) {
  ListPtr list = ListOf({0, 1, 2, 3, 4, 5});
  list->Delete(1, 2);
  EXPECT_EQ(Contents(*list), Items({0, 3, 4, 5}));
  list->Delete(2, 100);
  list->Delete(0);
  EXPECT_EQ(Contents(*list), Items({3}));
  for (auto [index, n] : {std::pair{-1, 1}, {1, 1}, {0, 0}, {0, -2}}) {
    list->Delete(index, n);
    EXPECT_EQ(Contents(*list), Items({3})) << "Delete(" << index << ", " << n << ")";
  }
}

TEST(ListTest, IndexOfFindsTheFirstFromTheFront) {
  ListPtr list = ListOf({0, 1, 0, 2});
  list->Add(nullptr);
  EXPECT_EQ(list->IndexOf(&Slots[0]), 0);
  EXPECT_EQ(list->IndexOf(nullptr), 4);
  EXPECT_EQ(list->IndexOf(&Slots[5]), -1);
  list->Delete(0);
  EXPECT_EQ(list->IndexOf(&Slots[0]), 1);
}

TEST(ListTest, ItemsOutOfRangeReadNullAndIgnoreWrites) {
  ListPtr list = ListOf({0, 1});
  list->SetCapacity(10);
  EXPECT_EQ(list->Items(-1), nullptr);
  EXPECT_EQ(list->Items(2), nullptr);  // allocated but unused slot
  list->SetItems(2, &Slots[9]);
  list->SetItems(-1, &Slots[9]);
  list->SetItems(1, &Slots[5]);
  EXPECT_EQ(Contents(*list), Items({0, 5}));
}

}  // namespace
