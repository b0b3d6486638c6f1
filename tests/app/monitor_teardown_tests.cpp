#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "grapher.h"
#include "main_form.h"
#include "monitor_fixture.h"
#include "poisoned_heap.h"

namespace {

// What this program deletes while recording, in order; recording never allocates.
void* Deleted[4096];
std::size_t DeletedCount = 0;
void Record(void* p) {
  if (DeletedCount < std::size(Deleted)) Deleted[DeletedCount++] = p;
}

// Positions in the creation order of the elements among the given objects, in their order.
// Only an address's first appearance counts: a freed element's memory may serve again.
std::vector<int> CreationIndices(const std::vector<const void*>& objects,
                                 const std::vector<TObject*>& elements) {
  std::vector<int> indices;
  for (const void* object : objects) {
    const auto at = std::find(elements.begin(), elements.end(), object);
    const int index = static_cast<int>(at - elements.begin());
    if (at != elements.end() && std::find(indices.begin(), indices.end(), index) == indices.end())
      indices.push_back(index);
  }
  return indices;
}

struct TFreedControls {
  std::vector<const void*> Elements;  // whose controls were freed, in that order
  std::vector<std::pair<const TObj*, const TObject*>> Owners;  // control, element
  static void Note(void* self, TObj* sender) {
    auto* freed = static_cast<TFreedControls*>(self);
    for (const auto& [control, element] : freed->Owners)
      if (control == sender) freed->Elements.push_back(element);
  }
};

// Torn down while the application control still lives, each windowed element frees its own
// control, so the order of the controls' ends is the order of the elements' ends.
TEST_F(MonitorFormTest, DestructionFreesTheElementsInReverseOrderOfCreation) {
  const std::vector<TObject*> elements = form->Elements();
  TFreedControls freed;
  std::vector<int> windowed;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (const auto* element = dynamic_cast<const TNdWin*>(elements[i])) {
      windowed.insert(windowed.begin(), static_cast<int>(i));
      freed.Owners.emplace_back(element->Control, elements[i]);
      element->Control->AddFreeNotifier({&TFreedControls::Note, &freed});
    }
  }
  ASSERT_EQ(windowed.size(), 13u);

  DeletedCount = 0;
  OnDelete = Record;
  delete std::exchange(form, nullptr);
  OnDelete = nullptr;

  EXPECT_EQ(CreationIndices(freed.Elements, elements), windowed);
  std::vector<int> reverse;
  for (int i = static_cast<int>(elements.size()) - 1; i >= 0; --i) reverse.push_back(i);
  const std::vector<const void*> deleted(Deleted, Deleted + DeletedCount);
  EXPECT_EQ(CreationIndices(deleted, elements), reverse);
}

// The program's own road, with freed memory scribbled over: start, close of the main window,
// the end of the loop, then the form freed after the application control.
TEST_F(MonitorFormTest, ClosingTheShownMainWindowEndsTheLoopStopsAllFlowAndFreesCleanly) {
  StartApplication(form->MainWindow);
  const HWND window = form->MainWindow->Control->Handle;
  EXPECT_TRUE(IsWindowVisible(window));
  PostMessageW(window, WM_CLOSE, 0, 0);

  // A loop that never ends is ended from outside, and the test fails.
  const HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> forced{false};
  std::thread watchdog([&, thread = GetCurrentThreadId()] {
    if (WaitForSingleObject(ended, 30000) == WAIT_OBJECT_0) return;
    forced = true;
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
  });
  RunMessageLoop(AppControl);
  SetEvent(ended);
  watchdog.join();
  CloseHandle(ended);

  EXPECT_FALSE(forced);
  EXPECT_EQ(AppControl, nullptr);
  EXPECT_FALSE(IsWindow(window));
  Report("1234256\r");
  EXPECT_EQ(form->VoltageGraph->Count, 0);
}

}  // namespace
