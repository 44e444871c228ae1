// The painting functions of every picture, grouped by family. Each paints one picture in the
// 16 by 16 unit square; the table in PictureTable.cpp fixes their order.
#pragma once

class QPainter;

namespace pictures {

// MediaPictures.cpp
void Power(QPainter&);
void Play(QPainter&);
void Pause(QPainter&);
void Stop(QPainter&);
void Record(QPainter&);
void FastForward(QPainter&);
void Rewind(QPainter&);
void PreviousTrack(QPainter&);
void NextTrack(QPainter&);
void Eject(QPainter&);
void PlayPause(QPainter&);
void Repeat(QPainter&);
void Shuffle(QPainter&);

// DevicePictures.cpp
void Speaker(QPainter&);
void VolumeUp(QPainter&);
void VolumeDown(QPainter&);
void Mute(QPainter&);
void MicrophoneOn(QPainter&);
void MicrophoneOff(QPainter&);
void Headphones(QPainter&);
void MusicNote(QPainter&);
void VideoCamera(QPainter&);
void Camera(QPainter&);
void Monitor(QPainter&);
void Television(QPainter&);
void Projector(QPainter&);
void ProjectionScreen(QPainter&);
void LightBulbOn(QPainter&);
void LightBulbOff(QPainter&);
void PowerPlug(QPainter&);
void Antenna(QPainter&);
void SerialConnector(QPainter&);
void Sun(QPainter&);
void Moon(QPainter&);
void Thermometer(QPainter&);
void RemoteControl(QPainter&);

// ArrowPictures.cpp
void ArrowUp(QPainter&);
void ArrowDown(QPainter&);
void ArrowLeft(QPainter&);
void ArrowRight(QPainter&);
void ArrowUpLeft(QPainter&);
void ArrowUpRight(QPainter&);
void ArrowDownLeft(QPainter&);
void ArrowDownRight(QPainter&);
void DoubleArrowUp(QPainter&);
void DoubleArrowDown(QPainter&);
void DoubleArrowLeft(QPainter&);
void DoubleArrowRight(QPainter&);
void TurnClockwise(QPainter&);
void TurnCounterClockwise(QPainter&);
void Refresh(QPainter&);
void SwapUpDown(QPainter&);
void SwapLeftRight(QPainter&);
void Move(QPainter&);
void Return(QPainter&);

// LampPictures.cpp
void LampGrey(QPainter&);
void LampRed(QPainter&);
void LampGreen(QPainter&);
void LampYellow(QPainter&);
void LampGreySmall(QPainter&);
void LampRedSmall(QPainter&);
void LampGreenSmall(QPainter&);
void LampYellowSmall(QPainter&);
void LampGreyBezel(QPainter&);
void LampRedBezel(QPainter&);
void LampGreenBezel(QPainter&);
void LampYellowBezel(QPainter&);
void LampGreyGlowing(QPainter&);
void LampRedGlowing(QPainter&);
void LampGreenGlowing(QPainter&);
void LampYellowGlowing(QPainter&);

// SignPictures.cpp
void Question(QPainter&);
void QuestionBubble(QPainter&);
void QuestionYellow(QPainter&);
void Information(QPainter&);
void Warning(QPainter&);
void Error(QPainter&);
void NoEntry(QPainter&);
void Prohibited(QPainter&);
void Check(QPainter&);
void CheckCircle(QPainter&);
void CrossMark(QPainter&);
void CrossCircle(QPainter&);
void Plus(QPainter&);
void Minus(QPainter&);
void StopSign(QPainter&);

// OfficePictures.cpp
void Clock(QPainter&);
void AlarmClock(QPainter&);
void Stopwatch(QPainter&);
void Hourglass(QPainter&);
void Timer(QPainter&);
void Calendar(QPainter&);
void CalendarDay(QPainter&);
void Document(QPainter&);
void DocumentText(QPainter&);
void Documents(QPainter&);
void DocumentNew(QPainter&);
void FloppyDisk(QPainter&);
void Printer(QPainter&);
void Folder(QPainter&);
void FolderOpen(QPainter&);
void FolderDocument(QPainter&);

// CommsPictures.cpp
void Telephone(QPainter&);
void TelephoneDesk(QPainter&);
void TelephoneRinging(QPainter&);
void TelephoneHangUp(QPainter&);
void MobilePhone(QPainter&);
void Globe(QPainter&);
void Network(QPainter&);
void Envelope(QPainter&);

// ToolPictures.cpp
void Gear(QPainter&);
void Wrench(QPainter&);
void Lock(QPainter&);
void Unlock(QPainter&);
void Key(QPainter&);
void Home(QPainter&);
void Star(QPainter&);
void Flag(QPainter&);
void Bell(QPainter&);
void User(QPainter&);
void Pencil(QPainter&);
void WasteBin(QPainter&);
void Search(QPainter&);
void ZoomIn(QPainter&);
void ZoomOut(QPainter&);

// DigitPictures.cpp
void Number0(QPainter&);
void Number1(QPainter&);
void Number2(QPainter&);
void Number3(QPainter&);
void Number4(QPainter&);
void Number5(QPainter&);
void Number6(QPainter&);
void Number7(QPainter&);
void Number8(QPainter&);
void Number9(QPainter&);

}  // namespace pictures
