#include "game/script/message_log.h"

#include <gtest/gtest.h>

#include <string>

TEST(MessageLog, KeepsTwoHundredLinesAndDropsTheRest) {
  ClearMessageLog();
  for (int i = 0; i < 210; ++i) DebugPrint("line %d", i);
  EXPECT_EQ(MessageLog.count, 200);
  EXPECT_STREQ(MessageLog.lines[199], "line 199");
}

TEST(MessageLog, CutsLongLinesAndKeepsPercentAsText) {
  ClearMessageLog();
  DebugPrintText(std::string(5000, 'x'));
  DebugPrintText("100% done");
  EXPECT_EQ(std::string(MessageLog.lines[0]).size(), 1023u);
  EXPECT_STREQ(MessageLog.lines[1], "100% done");
}

TEST(MessageLog, AgesOneLineAfterOneThousandFramesAtSixty) {
  ClearMessageLog();
  DebugPrint("a");
  DebugPrint("b");
  for (int i = 0; i < 1000; ++i) AgeMessageLog(60);
  EXPECT_EQ(MessageLog.count, 2);
  AgeMessageLog(60);
  ASSERT_EQ(MessageLog.count, 1);
  EXPECT_STREQ(MessageLog.lines[0], "b");
  // At 30 frames per second the same time is 500 frames.
  for (int i = 0; i < 501; ++i) AgeMessageLog(30);
  EXPECT_EQ(MessageLog.count, 0);
}
