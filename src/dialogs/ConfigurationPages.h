// The pages of the configuration dialog: the "General" page and one page per
// output, each built with its named, labelled controls. The pages belong to the
// widget they are built on; these structs only point at their controls.
// User-interface thread only.
#pragma once

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class TEncodableTextValidator;
class TSpinEdit;

struct TGeneralPage {
  QWidget* Page;
  QLineEdit* MainCaption;
  TEncodableTextValidator* MainCaptionValidator;
  TSpinEdit* ButtonRows;
  TSpinEdit* ButtonCols;
  QCheckBox* FlatButtons;
  QCheckBox* AllowWindowMoving;
  QCheckBox* AllowWindowResizing;
  QCheckBox* SaveWindowPosition;
  QCheckBox* SaveWindowSize;
  QCheckBox* ShowComPortErrors;
  // Read-only: what remote control is doing, set at start-up from the settings.
  QLabel* RemoteControl;
};

// Flow control, offered on output 1 only.
struct TFlowControlBoxes {
  QCheckBox* SwFlowControl;
  QCheckBox* UseDTR;
  QCheckBox* UseRTS;
  QCheckBox* RequireDSR;
  QCheckBox* RequireCTS;
};

struct TOutputPage {
  QWidget* Page;
  // Each entry's data is its port number; the text also names the device. A
  // configured port that is not present has an entry of its own, so marked.
  QComboBox* PortNo;
  QComboBox* BaudRate;
  TSpinEdit* DataBits;
  TSpinEdit* StopBits;
  QComboBox* Parity;
  QCheckBox* RS485Mode;
  QCheckBox* PortOpen;
  // Beside "Port Open": shown while the chosen port is not present.
  QLabel* NotPresent;
  // A warning line, shown while another output names the same port.
  QLabel* SamePort;
  std::optional<TFlowControlBoxes> FlowControl;
};

TGeneralPage BuildGeneralPage(QWidget* parent);
// output is 1 to 4; the port-number and baud lists start empty.
TOutputPage BuildOutputPage(int output, QWidget* parent);
