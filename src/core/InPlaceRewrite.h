// Rewriting a file in place, for a file its user may write in a folder he may
// not (no temporary file can be made beside it), without ever leaving half a
// file: the new content is first written, whole and synced, after the old one
// between two marker lines; only then is it copied to the front and the file
// cut to its length. A reader that finds the file in any state between takes
// the complete content it holds. Stateless; any thread.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// One write at an offset, or a cut of the file to Size bytes when Bytes is empty
// and Truncate is set. Each step is synced before the next begins.
struct TRewriteStep {
  off_t Offset = 0;
  std::string Bytes;
  bool Truncate = false;
  off_t Size = 0;
};

// The steps that turn a file of oldSize bytes into bytes. The content must
// hold no line that begins with ";" (a settings file as saved holds none).
std::vector<TRewriteStep> InPlaceRewriteSteps(off_t oldSize, std::string_view bytes);

// Carries the steps out on fd, a descriptor open for reading and writing on a
// file of oldSize bytes. A failure before the new content is complete cuts
// the file back to its old content; it throws EFileAccess.
void RewriteInPlace(int fd, off_t oldSize, std::string_view bytes);

// The content a file holds that an interrupted rewrite may have left: the new
// content once it was complete, else the old one; any other file as it is.
std::string RecoverInterruptedRewrite(std::string bytes);
