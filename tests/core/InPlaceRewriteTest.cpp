// The in-place rewrite never leaves half a file: stopped after any step, or in
// the middle of any write, the file reads as its old content or its new one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "TemporaryFolder.h"
#include "core/AtomicFile.h"
#include "core/InPlaceRewrite.h"
#include "core/IniFile.h"

namespace {

// A file's bytes after the steps before stop, and the first cut bytes of step stop.
std::string Interrupted(const std::string& old, const std::vector<TRewriteStep>& steps, size_t stop,
                        size_t cut) {
  std::string file = old;
  for (size_t index = 0; index <= stop && index < steps.size(); ++index) {
    const TRewriteStep& step = steps[index];
    if (step.Truncate) {
      if (index < stop) file.resize(static_cast<size_t>(step.Size));
      continue;
    }
    const size_t length = index < stop ? step.Bytes.size() : std::min(cut, step.Bytes.size());
    const size_t offset = static_cast<size_t>(step.Offset);
    if (file.size() < offset + length) file.resize(offset + length, '\0');
    file.replace(offset, length, step.Bytes, 0, length);
  }
  return file;
}

std::string Normalised(const std::string& text) { return TIniFile(text).Text(); }

TEST(InPlaceRewrite, EveryInterruptionReadsAsTheOldOrTheNewContent) {
  const struct {
    const char* name;
    std::string old;
    std::string next;
  } cases[] = {
      {"grows", "[General]\r\nCaption=old\r\n\r\n",
       "[General]\r\nCaption=a much longer new caption\r\n\r\n[Button 1]\r\nData=65\r\n\r\n"},
      {"shrinks", "[General]\r\nCaption=a much longer old caption\r\nFlat Buttons=1\r\n\r\n",
       "[General]\r\nCaption=new\r\n\r\n"},
      {"old without a last line break", "[General]\nCaption=old", "[General]\r\nCaption=x\r\n\r\n"},
      {"from empty", "", "[General]\r\nCaption=new\r\n\r\n"},
      {"to empty", "[General]\r\nCaption=old\r\n\r\n", ""},
  };
  for (const auto& c : cases) {
    const std::vector<TRewriteStep> steps =
        InPlaceRewriteSteps(static_cast<off_t>(c.old.size()), c.next);
    for (size_t stop = 0; stop <= steps.size(); ++stop) {
      const size_t longest = stop < steps.size() ? steps[stop].Bytes.size() : 0;
      for (size_t cut = 0; cut <= longest; ++cut) {
        const std::string read = RecoverInterruptedRewrite(Interrupted(c.old, steps, stop, cut));
        const bool oldOne = Normalised(read) == Normalised(c.old);
        const bool newOne = read == c.next;
        EXPECT_TRUE(oldOne || newOne) << c.name << ", step " << stop << ", byte " << cut;
        // Once the end line is written the new content counts.
        if (stop >= 2) {
          EXPECT_TRUE(newOne) << c.name << ", step " << stop << ", byte " << cut;
        }
      }
    }
    EXPECT_EQ(Interrupted(c.old, steps, steps.size(), 0), c.next) << c.name;
  }
}

TEST(InPlaceRewrite, RewritesTheSameFile) {
  TTemporaryFolder folder;
  const std::string path = folder.File("tovrana.ini");
  const std::string old = "[General]\r\nCaption=old\r\n\r\n";
  const std::string next = "[General]\r\nCaption=new and longer\r\n\r\n";
  {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, old.data(), old.size()), static_cast<ssize_t>(old.size()));
    RewriteInPlace(fd, static_cast<off_t>(old.size()), next);
    ::close(fd);
  }
  EXPECT_EQ(ReadFileBytes(path, 1 << 20).value_or(""), next);
}

}  // namespace
