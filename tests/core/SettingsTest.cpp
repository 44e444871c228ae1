// Settings load and save over small INI fixtures: defaults, key matching,
// integer forms, clamping, the save switches, normalisation and file handling.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <sstream>

#include "SettingsTestSupport.h"
#include "core/IniFile.h"

namespace {

namespace fs = std::filesystem;

// Everything the load fills, as one comparable text.
std::string Describe(const TLoadedSettings& s) {
  std::ostringstream out;
  const TMainWindowState& st = s.State;
  out << st.Bounds.Top << ',' << st.Bounds.Left << ',' << st.Bounds.Height << ',' << st.Bounds.Width
      << '|' << st.Caption << '|' << +st.Rows << 'x' << +st.Cols << st.FlatButtons
      << st.AllowEditing << st.AllowWindowMoving << st.AllowWindowResizing << st.SaveWindowPosition
      << st.SaveWindowSize << st.ShowComPortErrors << st.TextIsUtf8 << '\n';
  for (size_t i = 0; i < 4; ++i) {
    const TVrlComPort& p = *s.Ports[i];
    out << st.OpenFlags[i] << ' ' << p.ComNumber() << ' ' << p.Baud() << ' ' << p.DataBits() << ' '
        << p.StopBits() << ' ' << +static_cast<uint8_t>(p.Parity()) << ' ' << p.RS485Mode() << ' '
        << +static_cast<uint8_t>(p.SWFlowOptions()) << ' ' << +p.HWFlowOptions().Bits() << ' '
        << p.BufferFull() << '/' << p.BufferResume() << ' ' << p.RTS() << ' '
        << p.PortMap().DevicePath(5) << '\n';
  }
  for (int i = 0; i < s.Commands.Count(); ++i) {
    const TCommand& c = s.Commands.Get(i);
    out << c.Caption << '|' << c.Data << '|' << +c.Output << '|' << c.ButtonColour << '|'
        << c.TextColour << '|' << c.ImageIndex << '\n';
  }
  return out.str();
}

class SettingsTest : public testing::Test {
 protected:
  fs::path File() const { return folder_.Path() / "tovrana.ini"; }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.Path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  TTemporaryFolder folder_;
};

TEST_F(SettingsTest, WithoutAFileTheDefaultsHoldAndTheSaveCreatesTheSections) {
  TLoadedSettings loaded;
  loaded.Read(File());
  EXPECT_EQ(loaded.State.Rows, 5);
  EXPECT_EQ(loaded.State.Cols, 3);
  EXPECT_EQ(loaded.State.Caption, "Tovrana");
  ASSERT_EQ(loaded.Commands.Count(), 100);
  EXPECT_EQ(loaded.Commands.Get(0).Caption, "1");
  EXPECT_EQ(loaded.Commands.Get(99).Caption, "100");
  EXPECT_EQ(loaded.Commands.Get(99).ButtonColour, kColourButtonFace);
  EXPECT_EQ(loaded.State.OpenFlags, (std::array<bool, 4>{}));
  EXPECT_EQ(loaded.Ports[1]->ComNumber(), 1);
  EXPECT_EQ(loaded.Ports[1]->Baud(), 9600);

  loaded.Write(File());
  std::vector<std::string> expected{"Windows",  "General",  "Output 1",
                                    "Output 2", "Output 3", "Output 4"};
  for (int n = 1; n <= 15; ++n) expected.push_back("Button " + std::to_string(n));
  EXPECT_EQ(TIniFile(ReadText(File())).SectionNames(), expected);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"tovrana.ini"});
}

struct TLoadCase {
  std::string name;
  std::string ini;
  std::function<void(const TLoadedSettings&)> check;
};

std::ostream& operator<<(std::ostream& out, const TLoadCase& c) { return out << c.name; }

class SettingsLoadTest : public SettingsTest, public testing::WithParamInterface<TLoadCase> {};

TEST_P(SettingsLoadTest, ReadsTheFixture) {
  WriteText(File(), GetParam().ini);
  TLoadedSettings loaded;
  loaded.Read(File());
  GetParam().check(loaded);
}

const TLoadCase kLoadCases[] = {
    {"RowsBelowOneClampToOne", "[General]\nButton Rows=0\nButton Cols=-4",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.State.Rows, 1);
       EXPECT_EQ(s.State.Cols, 1);
     }},
    {"RowsAboveTenClampToTen", "[General]\nButton Rows=25\nButton Cols=$7FFFFFFF",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.State.Rows, 10);
       EXPECT_EQ(s.State.Cols, 10);
     }},
    {"RowsNotANumberGiveTheDefault", "[General]\nButton Rows=abc",
     [](const TLoadedSettings& s) { EXPECT_EQ(s.State.Rows, 5); }},
    {"HexadecimalBaudForms", "[Output 1]\nBaud Rate=0x2580\n[Output 2]\nBaud Rate=$2580",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Ports[0]->Baud(), 9600);
       EXPECT_EQ(s.Ports[1]->Baud(), 9600);
     }},
    {"BooleansAreNonZeroIntegers", "[General]\nFlat Buttons=2\nAllow Window Moving=yes",
     [](const TLoadedSettings& s) {
       EXPECT_TRUE(s.State.FlatButtons);
       EXPECT_TRUE(s.State.AllowWindowMoving);
     }},
    {"WordsGiveTheDefault", "[General]\nFlat Buttons=yes",
     [](const TLoadedSettings& s) { EXPECT_FALSE(s.State.FlatButtons); }},
    {"OutputKeepsItsLowEightBits", "[Button 1]\nOutput=257\n[Button 2]\nOutput=0",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Commands.Get(0).Output, 1);
       EXPECT_EQ(s.Commands.Get(1).Output, 0);
     }},
    {"KeysIgnoreCaseAndBlanks", "[windows]\nmain top = 40\nMAIN LEFT=\t-7",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.State.Bounds.Top, 40);
       EXPECT_EQ(s.State.Bounds.Left, -7);
     }},
    {"WindowSizeKeepsTheMinimum", "[Windows]\nMain Height=20\nMain Width=100",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.State.Bounds.Height, 150);
       EXPECT_EQ(s.State.Bounds.Width, 250);
     }},
    {"DataLosesItsOuterBlanks", "[Button 1]\nData=  65 66  ",
     [](const TLoadedSettings& s) { EXPECT_EQ(s.Commands.Get(0).Data, "65 66"); }},
    {"EmptyCaptionIsNotTheDefault", "[Button 3]\nCaption=\n[General]\nCaption=",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Commands.Get(2).Caption, "");
       EXPECT_EQ(s.State.Caption, "");
     }},
    {"LaterDuplicatesWin",
     "[Button 1]\nCaption=old\nCaption=new\n[General]\nCaption=a\n"
     "[general]\nButton Rows=2",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Commands.Get(0).Caption, "new");
       EXPECT_EQ(s.State.Rows, 2);
       EXPECT_EQ(s.State.Caption, "Tovrana");
     }},
    {"ColoursAndIcons", "[Button 1]\nButton Colour=255\nText Colour=$00FF0000\nImage Index=134",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Commands.Get(0).ButtonColour, 0x000000FFu);
       EXPECT_EQ(s.Commands.Get(0).TextColour, 0x00FF0000u);
       EXPECT_EQ(s.Commands.Get(0).ImageIndex, 134);
       EXPECT_EQ(s.Commands.Get(1).TextColour, kColourWindowText);
     }},
    {"OutputLineSettings",
     "[Output 3]\nPort Number=17\nData Bits=7\nStop Bits=2\nParity=2\nRS485 Mode=0\nOpen=1",
     [](const TLoadedSettings& s) {
       const TVrlComPort& p = *s.Ports[2];
       EXPECT_EQ(p.ComNumber(), 17);
       EXPECT_EQ(p.DataBits(), 7);
       EXPECT_EQ(p.StopBits(), 2);
       EXPECT_EQ(p.Parity(), TParity::pEven);
       EXPECT_FALSE(p.RS485Mode());
       EXPECT_EQ(s.State.OpenFlags, (std::array<bool, 4>{false, false, true, false}));
     }},
    {"FlowControlKeysExistForOutputOneOnly",
     "[Output 1]\nSoftware Flow Control=1\nUse DTR=1\nRequire DSR=1\n"
     "[Output 2]\nSoftware Flow Control=1\nUse DTR=1",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.Ports[0]->SWFlowOptions(), TSWFlowOptions::swfTransmit);
       EXPECT_EQ(s.Ports[0]->HWFlowOptions(),
                 (THWFlowOptionSet{THWFlowOption::hwfUseDTR, THWFlowOption::hwfRequireDSR}));
       EXPECT_EQ(s.Ports[0]->BufferFull(), 3686);  // the form's values are already valid
       EXPECT_EQ(s.Ports[0]->BufferResume(), 409);
       EXPECT_FALSE(s.Ports[0]->RS485Mode());  // the key's default replaces the form's
       EXPECT_EQ(s.Ports[1]->SWFlowOptions(), TSWFlowOptions::swfNone);
       EXPECT_TRUE(s.Ports[1]->HWFlowOptions().Empty());
     }},
    {"RtsHandshakeWinsOverRs485", "[Output 1]\nRS485 Mode=1\nRequire CTS=1",
     [](const TLoadedSettings& s) {
       EXPECT_FALSE(s.Ports[0]->RS485Mode());
       EXPECT_EQ(s.Ports[0]->HWFlowOptions(), THWFlowOptionSet{THWFlowOption::hwfRequireCTS});
     }},
    {"PortMap",
     "[Ports]\nCOM5=/dev/pts/7\ncom21 = /dev/ttyX\nCOM=/dev/no\nCOMx=/dev/no\n"
     "COM5=/dev/pts/9\nCOM0=/dev/no\nCOM65536=/dev/no",
     [](const TLoadedSettings& s) {
       for (const TVrlComPort* p : s.Ports) {
         EXPECT_EQ(p->PortMap().DevicePath(5), "/dev/pts/9");
         EXPECT_EQ(p->PortMap().DevicePath(21), "/dev/ttyX");
         EXPECT_EQ(p->PortMap().Entries().size(), 2u);
       }
     }},
    {"WindowsCodePageText", "[General]\nCaption=Caf\xE9",
     [](const TLoadedSettings& s) {
       EXPECT_EQ(s.State.Caption, "Caf\xE9");
       EXPECT_FALSE(s.State.TextIsUtf8);
     }},
    {"Utf8Text", "[General]\nCaption=Caf\xC3\xA9",
     [](const TLoadedSettings& s) { EXPECT_TRUE(s.State.TextIsUtf8); }},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, SettingsLoadTest, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(SettingsTest, WithEditingOffOnlyTheAllowedBoundsAreRewritten) {
  WriteText(File(),
            "; administrator's panel\n[Windows]\nMain Top=1\nMain Left=2\nMain Height=300\n"
            "Main Width=400\n[General]\nAllow Editing=0\nSave Window Position=1\n"
            "Save Window Size=0\n[Button 1]\nCaption=Power\n");
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.State.Bounds = {10, 20, 500, 600};
  loaded.State.Caption = "changed";
  loaded.State.Rows = 1;
  loaded.Commands.Get(0).Caption = "changed";
  loaded.Ports[0]->SetBaud(115200);
  loaded.Write(File());
  EXPECT_EQ(ReadText(File()),
            "[Windows]\r\nMain Top=10\r\nMain Left=20\r\nMain Height=300\r\nMain Width=400\r\n\r\n"
            "[General]\r\nAllow Editing=0\r\nSave Window Position=1\r\nSave Window Size=0\r\n\r\n"
            "[Button 1]\r\nCaption=Power\r\n\r\n");
}

TEST_F(SettingsTest, SaveReplacesEveryButtonSectionAndKeepsForeignOnes) {
  WriteText(File(),
            "[Button 9]\nCaption=gone\n[Buttons]\nx=1\n[Ports]\nCOM5=/dev/pts/3\n"
            "[button notes]\ny=2\n[Button 1]\nCaption=first\n[Custom]\nz=3\n[Butto]\nw=4\n");
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.State.Rows = 3;
  loaded.State.Cols = 2;
  loaded.Write(File());

  const TIniFile saved(ReadText(File()));
  std::vector<std::string> expected{"Ports",    "Custom",   "Butto",    "Windows", "General",
                                    "Output 1", "Output 2", "Output 3", "Output 4"};
  for (int n = 1; n <= 6; ++n) expected.push_back("Button " + std::to_string(n));
  EXPECT_EQ(saved.SectionNames(), expected);
  EXPECT_EQ(saved.ReadString("Button 1", "Caption", ""), "first");
  EXPECT_EQ(saved.ReadString("Button 6", "Caption", ""), "6");
  EXPECT_EQ(saved.ReadString("Ports", "COM5", ""), "/dev/pts/3");
  EXPECT_EQ(saved.ReadString("General", "Allow Editing", "<absent>"), "<absent>");
}

TEST_F(SettingsTest, WindowsFileRoundTripsToTheSameState) {
  WriteText(
      File(),
      "; Tovrana panel, edited on Windows\r\n\r\n[Windows]\r\nMain Top = 120\r\n"
      "Main Left = 80\r\nMain Height = 420\r\nMain Width = 640\r\n\r\n[General]\r\n"
      "Button Rows = 2\r\nButton Cols = 2\r\nFlat Buttons = 1\r\nCaption = Salle \xE9t\xE9\r\n"
      "Allow Editing = 1\r\nShow Com Port Errors = 0\r\n\r\n[Output 1]\r\n"
      "Port Number = 5\r\nBaud Rate = 0x4B00\r\nParity = 1\r\nRS485 Mode = 0\r\n"
      "Use RTS = 1\r\nOpen = 1\r\n\r\n[Button 1]\r\nCaption = Power\\nOn\r\n"
      "Data = [PWR1],13\r\nButton Colour = $0000FF00\r\nImage Index = 3\r\n\r\n"
      "[Button 4]\r\nCaption = \xC4nde\r\nOutput = 2\r\n");
  TLoadedSettings first;
  first.Read(File());
  first.Write(File());
  const std::string saved = ReadText(File());

  TLoadedSettings second;
  second.Read(File());
  EXPECT_EQ(Describe(second), Describe(first));
  EXPECT_EQ(second.Commands.Get(0).Data, "[PWR1],13");
  EXPECT_EQ(second.Commands.Get(3).Caption, "\xC4nde");
  EXPECT_EQ(second.Ports[0]->Baud(), 19200);
  EXPECT_FALSE(second.State.TextIsUtf8);

  second.Write(File());
  EXPECT_EQ(ReadText(File()), saved);  // byte for byte, Windows-1252 included
}

TEST_F(SettingsTest, HoldAndCheckKeysLoadAndOnlyTheNonDefaultOnesAreSaved) {
  WriteText(File(),
            "[General]\nButton Rows=3\nButton Cols=1\n"
            "[Button 1]\nCaption=Pan\nData=$81 $01 $06 $01 $08 $08 $03 $03 $FF\n"
            "Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF\nRepeat Interval=5\n"
            "Checksum=CRC-16/MODBUS\nChecksum From=1\nchecksum form=hex\n"
            "Reply=$90 $41 ?? $FF\nReply Timeout=250\n"
            "[Button 2]\nCaption=Plain\nRepeat Interval=0\nChecksum Form=Binary\n"
            "Checksum From=-3\nPress Data=\nReply=\nReply Timeout=1000\n"
            "[Button 3]\nRepeat Interval=99999\nChecksum=CRC-99/NONE\nChecksum Form=Octal\n"
            "Reply Timeout=3\n");
  TLoadedSettings loaded;
  loaded.Read(File());
  const TCommand& pan = loaded.Commands.Get(0);
  EXPECT_EQ(pan.PressData, "$81 $01 $06 $01 $08 $08 $01 $03 $FF");
  EXPECT_EQ(pan.RepeatInterval, 20);
  EXPECT_EQ(pan.Checksum, "CRC-16/MODBUS");
  EXPECT_EQ(pan.ChecksumFrom, 1);
  EXPECT_EQ(pan.ChecksumForm, TChecksumForm::Hex);
  EXPECT_EQ(pan.Reply, "$90 $41 ?? $FF");
  EXPECT_EQ(pan.ReplyTimeout, 250);
  EXPECT_EQ(loaded.Commands.Get(1).ReplyTimeout, 1000);
  EXPECT_EQ(loaded.Commands.Get(2).ReplyTimeout, 10);
  EXPECT_EQ(loaded.Commands.Get(1).ChecksumFrom, 0);
  EXPECT_EQ(loaded.Commands.Get(2).RepeatInterval, 60000);
  EXPECT_EQ(loaded.Commands.Get(2).ChecksumForm, TChecksumForm::Binary);

  // The whole-button clipboard carries them to another button, which saves them.
  ASSERT_TRUE(loaded.Commands.CopyButton(0));
  ASSERT_TRUE(loaded.Commands.PasteButton(1));
  loaded.Write(File());
  const std::string pan1 =
      "Caption=Pan\r\nData=$81 $01 $06 $01 $08 $08 $03 $03 $FF\r\nOutput=1\r\n"
      "Button Colour=-16777201\r\nText Colour=-16777208\r\nImage Index=-1\r\n"
      "Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF\r\nRepeat Interval=20\r\n"
      "Checksum=CRC-16/MODBUS\r\nChecksum From=1\r\nChecksum Form=Hex\r\n"
      "Reply=$90 $41 ?? $FF\r\nReply Timeout=250\r\n\r\n";
  const std::string text = ReadText(File());
  EXPECT_NE(text.find("[Button 1]\r\n" + pan1 + "[Button 2]\r\n" + pan1 +
                      "[Button 3]\r\n"
                      "Caption=3\r\nData=\r\nOutput=1\r\nButton Colour=-16777201\r\n"
                      "Text Colour=-16777208\r\nImage Index=-1\r\nRepeat Interval=60000\r\n"
                      "Checksum=CRC-99/NONE\r\nReply Timeout=10\r\n\r\n"),
            std::string::npos)
      << text;

  TLoadedSettings again;
  again.Read(File());
  EXPECT_EQ(again.Commands.Get(1), loaded.Commands.Get(0));
}

TEST_F(SettingsTest, SaveKeepsPermissionsAndSymbolicLinks) {
  const fs::path real = folder_.Path() / "real.ini";
  WriteText(real, "[Custom]\nA=1\n");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, File());

  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.Write(File());

  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_EQ(TIniFile(ReadText(real)).ReadString("Custom", "A", ""), "1");
  struct stat status {};
  ASSERT_EQ(::stat(real.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(FolderEntries().size(), 2u);  // no temporary file left behind
}

TEST_F(SettingsTest, ReadOnlyFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  WriteText(File(), "[General]\nCaption=locked\n");
  ::chmod(File().c_str(), 0444);
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.State.Caption = "changed";
  EXPECT_THROW(loaded.Write(File()), ESettingsWrite);
  EXPECT_EQ(ReadText(File()), "[General]\nCaption=locked\n");
}

struct TWriteFailureCase {
  std::string name;
  std::function<fs::path(const fs::path& folder)> prepare;
  std::string reason;
};

std::ostream& operator<<(std::ostream& out, const TWriteFailureCase& c) { return out << c.name; }

class SettingsWriteFailureTest : public SettingsTest,
                                 public testing::WithParamInterface<TWriteFailureCase> {};

TEST_P(SettingsWriteFailureTest, NamesTheFileAndTheReason) {
  const fs::path file = GetParam().prepare(folder_.Path());
  TLoadedSettings loaded;
  loaded.Read(file);  // an unusable file is no error at load
  EXPECT_EQ(loaded.Commands.Count(), 100);
  try {
    loaded.Write(file);
    FAIL() << "no exception";
  } catch (const ESettingsWrite& error) {
    EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find(GetParam().reason), std::string::npos) << error.what();
  }
  EXPECT_EQ(FolderEntries().size(), fs::exists(file) ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsWriteFailureTest,
                         testing::Values(TWriteFailureCase{"FolderInThePlaceOfTheFile",
                                                           [](const fs::path& folder) {
                                                             fs::create_directory(folder / "t.ini");
                                                             return folder / "t.ini";
                                                           },
                                                           "it is a folder"},
                                         TWriteFailureCase{"FifoInThePlaceOfTheFile",
                                                           [](const fs::path& folder) {
                                                             ::mkfifo((folder / "t.ini").c_str(),
                                                                      0600);
                                                             return folder / "t.ini";
                                                           },
                                                           "not a regular file"}),
                         [](const auto& info) { return info.param.name; });

struct TPathCase {
  std::string executable;
  std::string settings;
};

class SettingsPathTest : public testing::TestWithParam<TPathCase> {};

TEST_P(SettingsPathTest, ReplacesTheExtensionOfTheFileName) {
  EXPECT_EQ(SettingsPathFor(GetParam().executable), fs::path(GetParam().settings));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SettingsPathTest,
    testing::Values(TPathCase{"/opt/panel/tovrana", "/opt/panel/tovrana.ini"},
                    TPathCase{"/opt/panel/Tovrana.exe", "/opt/panel/Tovrana.ini"},
                    TPathCase{"/opt/v1.2/tovrana", "/opt/v1.2/tovrana.ini"},
                    TPathCase{"/opt/panel/tovrana.v2.bin", "/opt/panel/tovrana.v2.ini"},
                    TPathCase{"/opt/panel/.panel", "/opt/panel/.ini"}));

TEST(SettingsFilePath, LiesBesideTheRunningExecutable) {
  const fs::path path = SettingsFilePath();
  EXPECT_EQ(path.filename(), "core_tests.ini");
  EXPECT_TRUE(path.is_absolute());
  EXPECT_TRUE(fs::exists(path.parent_path() / "core_tests"));
}

}  // namespace
