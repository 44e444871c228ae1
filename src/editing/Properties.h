// The button properties dialog: edits a copy of one grid button's record, with
// a preview that draws caption, colours and icon as the grid will. Created once
// at start-up as a child of the main window and reused; the main window loads a
// record into it, runs it modally and takes the copy back after OK.
// User-interface thread only.
#pragma once

#include <QDialog>

#include "core/CommandList.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TColourSelector;
class TImageButton;
class TImageList;
class TSpinEdit;

class TfmProperties : public QDialog {
  Q_OBJECT

 public:
  static constexpr QSize kPreviewSize{161, 45};

  explicit TfmProperties(QWidget* parent);

  // Copies the edited button's record into the working record and every field.
  // The image list must outlive the dialog's next run; textIsUtf8 picks the
  // encoding the texts are stored in.
  void LoadRecord(const TCommand& record, int editedButton, const TImageList& imageList,
                  bool textIsUtf8);
  // The fields as the dialog last closed, whichever way.
  const TCommand& WorkingRecord() const { return working_; }

  void done(int result) override;

 private:
  void LoadControls();
  void StoreControls();
  void edCaptionChange();
  // Both bytes lines: the final bytes of each text with the check as now chosen.
  void edDataChange();
  // The check as the fields now say, into the working record.
  void StoreCheckControls();
  // The reply's bytes line, "??" for any byte; no checksum applies to it.
  void edReplyChange();
  void edIconNoChange();

  TCommand working_;
  int editedButton_ = 0;
  const TImageList* imageList_ = nullptr;
  bool textIsUtf8_ = true;
  // The texts as loaded, so that an untouched field keeps its exact bytes.
  QString loadedCaption_;
  QString loadedData_;
  QString loadedPressData_;
  QString loadedReply_;
  // A stored check name the table does not know, as its own list entry keeps it.
  std::string unknownChecksum_;

  QLineEdit* edCaption_;
  QLineEdit* edData_;
  QLineEdit* edDataBytes_;
  QLineEdit* edPressData_;
  QLineEdit* edPressDataBytes_;
  TSpinEdit* edRepeatInterval_;
  QComboBox* edChecksum_;
  TSpinEdit* edChecksumFrom_;
  QCheckBox* cbChecksumHex_;
  QLineEdit* edReply_;
  QLineEdit* edReplyBytes_;
  TSpinEdit* edReplyTimeout_;
  TSpinEdit* edIconNo_;
  TSpinEdit* edOutputNo_;
  TColourSelector* edButtonColour_;
  TColourSelector* edTextColour_;
  TImageButton* btExample_;
  QPushButton* btCancel_;
  QPushButton* BitBtn2_;
};
