#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
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

// Torn down while the application control still lives: each element goes, with its control.
TEST_F(MonitorFormTest, DestructionFreesTheElementsInReverseOrderOfCreation) {
  const std::vector<TObject*> elements = form->Elements();
  DeletedCount = 0;
  OnDelete = Record;
  delete std::exchange(form, nullptr);
  OnDelete = nullptr;

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

  // A loop that never ends is ended by a watchdog, and the test fails.
  static bool forced;
  forced = false;
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 30000, [](HWND, UINT, UINT_PTR, DWORD) {
    forced = true;
    PostQuitMessage(0);
  });
  RunMessageLoop(AppControl);
  KillTimer(nullptr, watchdog);

  EXPECT_FALSE(forced);
  EXPECT_EQ(AppControl, nullptr);
  EXPECT_FALSE(IsWindow(window));
  Report("1234256\r");
  EXPECT_EQ(form->VoltageGraph->Count, 0);
}

}  // namespace
