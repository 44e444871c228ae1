// The order of this table is the image index that stored panels keep: append, never reorder.
#include "widgets/icons/PictureTable.h"

#include <QPainter>
#include <array>

#include "widgets/icons/Pictures.h"

namespace {

using namespace pictures;

constexpr std::array kTable{
    // Media, from 0
    TPictureEntry{"Power", Power},
    TPictureEntry{"Play", Play},
    TPictureEntry{"Pause", Pause},
    TPictureEntry{"Stop", Stop},
    TPictureEntry{"Record", Record},
    TPictureEntry{"Fast forward", FastForward},
    TPictureEntry{"Rewind", Rewind},
    TPictureEntry{"Previous track", PreviousTrack},
    TPictureEntry{"Next track", NextTrack},
    TPictureEntry{"Eject", Eject},
    TPictureEntry{"Play/pause", PlayPause},
    TPictureEntry{"Repeat", Repeat},
    TPictureEntry{"Shuffle", Shuffle},
    // Audio, from 13
    TPictureEntry{"Speaker", Speaker},
    TPictureEntry{"Volume up", VolumeUp},
    TPictureEntry{"Volume down", VolumeDown},
    TPictureEntry{"Mute", Mute},
    TPictureEntry{"Microphone", MicrophoneOn},
    TPictureEntry{"Microphone off", MicrophoneOff},
    TPictureEntry{"Headphones", Headphones},
    TPictureEntry{"Music", MusicNote},
    // Arrows, from 21
    TPictureEntry{"Arrow up", ArrowUp},
    TPictureEntry{"Arrow down", ArrowDown},
    TPictureEntry{"Arrow left", ArrowLeft},
    TPictureEntry{"Arrow right", ArrowRight},
    TPictureEntry{"Arrow up left", ArrowUpLeft},
    TPictureEntry{"Arrow up right", ArrowUpRight},
    TPictureEntry{"Arrow down left", ArrowDownLeft},
    TPictureEntry{"Arrow down right", ArrowDownRight},
    TPictureEntry{"Double arrow up", DoubleArrowUp},
    TPictureEntry{"Double arrow down", DoubleArrowDown},
    TPictureEntry{"Double arrow left", DoubleArrowLeft},
    TPictureEntry{"Double arrow right", DoubleArrowRight},
    TPictureEntry{"Turn clockwise", TurnClockwise},
    TPictureEntry{"Turn counter-clockwise", TurnCounterClockwise},
    TPictureEntry{"Refresh", Refresh},
    TPictureEntry{"Swap up/down", SwapUpDown},
    TPictureEntry{"Swap left/right", SwapLeftRight},
    TPictureEntry{"Move", Move},
    TPictureEntry{"Return", Return},
    // Lamps, from 40
    TPictureEntry{"Lamp grey", LampGrey},
    TPictureEntry{"Lamp red", LampRed},
    TPictureEntry{"Lamp green", LampGreen},
    TPictureEntry{"Lamp yellow", LampYellow},
    TPictureEntry{"Lamp grey, small", LampGreySmall},
    TPictureEntry{"Lamp red, small", LampRedSmall},
    TPictureEntry{"Lamp green, small", LampGreenSmall},
    TPictureEntry{"Lamp yellow, small", LampYellowSmall},
    TPictureEntry{"Lamp grey, bezel", LampGreyBezel},
    TPictureEntry{"Lamp red, bezel", LampRedBezel},
    TPictureEntry{"Lamp green, bezel", LampGreenBezel},
    TPictureEntry{"Lamp yellow, bezel", LampYellowBezel},
    TPictureEntry{"Lamp grey, glowing", LampGreyGlowing},
    TPictureEntry{"Lamp red, glowing", LampRedGlowing},
    TPictureEntry{"Lamp green, glowing", LampGreenGlowing},
    TPictureEntry{"Lamp yellow, glowing", LampYellowGlowing},
    // Signs, from 56
    TPictureEntry{"Question", Question},
    TPictureEntry{"Question, speech bubble", QuestionBubble},
    TPictureEntry{"Question, yellow", QuestionYellow},
    TPictureEntry{"Information", Information},
    TPictureEntry{"Warning", Warning},
    TPictureEntry{"Error", Error},
    TPictureEntry{"No entry", NoEntry},
    TPictureEntry{"Prohibited", Prohibited},
    TPictureEntry{"Check", Check},
    TPictureEntry{"Check, round", CheckCircle},
    TPictureEntry{"Cross", CrossMark},
    TPictureEntry{"Cross, round", CrossCircle},
    TPictureEntry{"Plus", Plus},
    TPictureEntry{"Minus", Minus},
    TPictureEntry{"Stop sign", StopSign},
    // Time and paperwork, from 71
    TPictureEntry{"Clock", Clock},
    TPictureEntry{"Alarm clock", AlarmClock},
    TPictureEntry{"Stopwatch", Stopwatch},
    TPictureEntry{"Hourglass", Hourglass},
    TPictureEntry{"Timer", Timer},
    TPictureEntry{"Calendar", Calendar},
    TPictureEntry{"Calendar day", CalendarDay},
    TPictureEntry{"Document", Document},
    TPictureEntry{"Document with text", DocumentText},
    TPictureEntry{"Documents", Documents},
    TPictureEntry{"New document", DocumentNew},
    TPictureEntry{"Save", FloppyDisk},
    TPictureEntry{"Printer", Printer},
    TPictureEntry{"Folder", Folder},
    TPictureEntry{"Folder open", FolderOpen},
    TPictureEntry{"Folder with document", FolderDocument},
    // Communication, from 87
    TPictureEntry{"Telephone", Telephone},
    TPictureEntry{"Desk telephone", TelephoneDesk},
    TPictureEntry{"Telephone ringing", TelephoneRinging},
    TPictureEntry{"Hang up", TelephoneHangUp},
    TPictureEntry{"Mobile phone", MobilePhone},
    TPictureEntry{"Globe", Globe},
    TPictureEntry{"Network", Network},
    TPictureEntry{"Mail", Envelope},
    // Tools and markers, from 95
    TPictureEntry{"Settings", Gear},
    TPictureEntry{"Service", Wrench},
    TPictureEntry{"Locked", Lock},
    TPictureEntry{"Unlocked", Unlock},
    TPictureEntry{"Key", Key},
    TPictureEntry{"Home", Home},
    TPictureEntry{"Star", Star},
    TPictureEntry{"Flag", Flag},
    TPictureEntry{"Bell", Bell},
    TPictureEntry{"User", User},
    TPictureEntry{"Edit", Pencil},
    TPictureEntry{"Delete", WasteBin},
    TPictureEntry{"Search", Search},
    TPictureEntry{"Zoom in", ZoomIn},
    TPictureEntry{"Zoom out", ZoomOut},
    // Equipment, from 110
    TPictureEntry{"Video camera", VideoCamera},
    TPictureEntry{"Camera", Camera},
    TPictureEntry{"Monitor", Monitor},
    TPictureEntry{"Television", Television},
    TPictureEntry{"Projector", Projector},
    TPictureEntry{"Projection screen", ProjectionScreen},
    TPictureEntry{"Light on", LightBulbOn},
    TPictureEntry{"Light off", LightBulbOff},
    TPictureEntry{"Mains plug", PowerPlug},
    TPictureEntry{"Wireless", Antenna},
    TPictureEntry{"Serial connector", SerialConnector},
    TPictureEntry{"Brightness", Sun},
    TPictureEntry{"Night", Moon},
    TPictureEntry{"Temperature", Thermometer},
    TPictureEntry{"Remote control", RemoteControl},
    // Numbers, from 125
    TPictureEntry{"Number 0", Number0},
    TPictureEntry{"Number 1", Number1},
    TPictureEntry{"Number 2", Number2},
    TPictureEntry{"Number 3", Number3},
    TPictureEntry{"Number 4", Number4},
    TPictureEntry{"Number 5", Number5},
    TPictureEntry{"Number 6", Number6},
    TPictureEntry{"Number 7", Number7},
    TPictureEntry{"Number 8", Number8},
    TPictureEntry{"Number 9", Number9},
};

}  // namespace

std::span<const TPictureEntry> PictureTable() { return kTable; }

QImage PaintPicture(const TPictureEntry& entry, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  entry.paint(painter);
  return image;
}
