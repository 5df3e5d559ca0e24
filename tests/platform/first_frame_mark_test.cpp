#include "platform/first_frame_mark.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// A process started from a benchmarked one inherits the variable but not its pipe: the number may
// then name one of its own files, which the mark must neither write into nor close.
TEST(FirstFrameMark, LeavesADescriptorThatIsNoPipeAlone) {
  char path[] = "/tmp/first-frame-mark-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  unlink(path);
  ASSERT_EQ(setenv("VREL_FIRST_FRAME_FD", std::to_string(fd).c_str(), 1), 0);

  platform::MarkFirstFramePainted();

  unsetenv("VREL_FIRST_FRAME_FD");
  struct stat st {};
  ASSERT_EQ(fstat(fd, &st), 0) << "the descriptor was closed";
  EXPECT_EQ(st.st_size, 0) << "the mark was written into a file";
  close(fd);
}

}  // namespace
