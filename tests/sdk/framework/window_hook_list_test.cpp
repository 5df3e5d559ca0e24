#include "sdk/framework/window_hook_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Hook : IWindowHook {
  Hook(std::vector<int>& log, int id, LRESULT result = 0) : log(log), id(id), result(result) {}
  LRESULT OnWindowMessage(HWND, UINT, WPARAM, LPARAM) override {
    log.push_back(id);
    return result;
  }
  std::vector<int>& log;
  int id;
  LRESULT result;
};

std::vector<UINT> fallbackSaw;
LRESULT Fallback(HWND, UINT message, WPARAM, LPARAM) {
  fallbackSaw.push_back(message);
  return 99;
}

TEST(WindowHookList, DispatchRunsInOrderUntilAHookAnswers) {
  std::vector<int> log;
  Hook a(log, 1), b(log, 2), c(log, 3, 5), d(log, 4);
  CWindowHookList list;
  for (Hook* h : {&a, &b, &c, &d}) list.Add(h);
  fallbackSaw.clear();
  EXPECT_EQ(list.Dispatch(nullptr, WM_USER, 0, 0, Fallback), 5);
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(fallbackSaw.empty());

  list.Remove(&c);
  log.clear();
  EXPECT_EQ(list.Dispatch(nullptr, WM_USER, 0, 0, Fallback), 99);  // nobody answered
  EXPECT_EQ(log, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(fallbackSaw, std::vector<UINT>{WM_USER});
}

TEST(WindowHookList, RemoveTakesEveryOccurrence) {
  std::vector<int> log;
  Hook a(log, 1), b(log, 2);
  CWindowHookList list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&a);
  EXPECT_EQ(list.Count(), 3u);
  list.Remove(&a);
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_FALSE(list.Contains(&a));
  EXPECT_TRUE(list.Contains(&b));
}

}  // namespace
