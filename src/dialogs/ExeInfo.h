// The program's name and version, read once from the version block embedded in
// the executable file, and a few facts about the computer it runs on. Owned by
// the About box; user-interface thread only. Needs no window system.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <ratio>
#include <stdexcept>
#include <string>

// A folder the platform does not have, named in the message.
class EFolderNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TExeInfo {
 public:
  // Windows file-time resolution, so that a date from the block loses nothing.
  using TFileTicks = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;
  using TFileDate = std::chrono::time_point<std::chrono::system_clock, TFileTicks>;

  // Reads the block of the running executable from its file, /proc/self/exe,
  // whatever the working directory or the name it was started by.
  TExeInfo();
  // Reads the block of the executable file at that path.
  explicit TExeInfo(const std::string& executablePath);

  // Each of the ten texts is "Updated at run-time" when the file has no block,
  // and empty when the block has no such text.
  const std::string& CompanyName() const { return texts_[kCompanyName]; }
  const std::string& FileDescription() const { return texts_[kFileDescription]; }
  const std::string& FileVersion() const { return texts_[kFileVersion]; }
  const std::string& InternalName() const { return texts_[kInternalName]; }
  const std::string& LegalCopyright() const { return texts_[kLegalCopyright]; }
  const std::string& LegalTradeMark() const { return texts_[kLegalTradeMark]; }
  const std::string& OriginalFileName() const { return texts_[kOriginalFileName]; }
  const std::string& ProductName() const { return texts_[kProductName]; }
  const std::string& ProductVersion() const { return texts_[kProductVersion]; }
  const std::string& Comments() const { return texts_[kComments]; }

  // From the block's fixed part; the flags are already masked.
  uint32_t FileFlags() const { return fileFlags_; }
  uint32_t FileOS() const { return fileOS_; }
  uint32_t FileType() const { return fileType_; }
  // The block's date, or the file's last-modified time when the block has none.
  TFileDate FileDate() const { return fileDate_; }

  // The host name as it was at construction, at most 15 characters; empty when
  // it cannot be read.
  const std::string& ComputerName() const { return computerName_; }
  // Kernel name and release, e.g. "Linux 6.1.0-18-amd64"; "Unknown" on failure.
  std::string OSName() const;
  // The counterparts of the Windows folders, each with a trailing "/": the
  // installed system's tree and its shared libraries.
  std::string WindowsDir() const;
  std::string SystemDir() const;
  // $TMPDIR when set, else "/tmp/"; with a trailing "/".
  std::string TempDir() const;
  // The XDG documents folder, else $HOME/Documents, whichever exists first.
  // Throws EFolderNotFound when neither is a folder.
  std::string MyDocumentsDir() const;
  std::string Version() const { return "1.3.3.0"; }

 private:
  enum TTextIndex {
    kCompanyName,
    kFileDescription,
    kFileVersion,
    kInternalName,
    kLegalCopyright,
    kLegalTradeMark,
    kOriginalFileName,
    kProductName,
    kProductVersion,
    kComments,
    kTextCount
  };

  void ReadVersionBlock(const std::string& executablePath);

  std::array<std::string, kTextCount> texts_;
  uint32_t fileFlags_ = 0;
  uint32_t fileOS_ = 0;
  uint32_t fileType_ = 0;
  TFileDate fileDate_{};
  std::string computerName_;
};
