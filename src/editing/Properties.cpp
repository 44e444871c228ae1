#include "editing/Properties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "core/Checksum.h"
#include "core/ReplyPattern.h"
#include "core/EditCommands.h"
#include "widgets/ColourMapping.h"
#include "widgets/ColourSelector.h"
#include "widgets/EncodableTextValidator.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageList.h"
#include "widgets/SpinEdit.h"
#include "widgets/TextEncoding.h"

namespace {

QLineEdit* TextField(const QString& objectName, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(objectName);
  // A data text has no length limit; the field must not cut one short.
  field->setMaxLength(std::numeric_limits<int>::max());
  // Refuses a character the settings file's encoding cannot hold, so that what
  // the field shows is what will be stored.
  field->setValidator(new TEncodableTextValidator(field));
  return field;
}

// The stored bytes of a field; an untouched field keeps the bytes it was given.
std::string StoredText(const QLineEdit& field, const QString& loaded, const std::string& original,
                       bool textIsUtf8) {
  if (field.text() == loaded) return original;
  return EncodeText(field.text(), textIsUtf8).value_or(original);
}

// A read-only line under a data field with the bytes its text sends.
QLineEdit* BytesLine(const QString& objectName, QWidget* parent) {
  auto* line = new QLineEdit(parent);
  line->setObjectName(objectName);
  line->setReadOnly(true);
  // Drawn as a line of text, not as a field to type in.
  line->setFrame(false);
  QPalette bytesPalette = line->palette();
  bytesPalette.setColor(QPalette::Base, bytesPalette.color(QPalette::Window));
  line->setPalette(bytesPalette);
  // Selectable for copying, but not a stop of the Tab key.
  line->setFocusPolicy(Qt::ClickFocus);
  return line;
}

// The bytes line with its label before it.
QHBoxLayout* LabelledBytesLine(QLineEdit* line) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(TfmProperties::tr("Bytes sent:"));
  label->setObjectName(line->objectName() + QStringLiteral("Label"));
  label->setBuddy(line);
  row->addWidget(label);
  row->addWidget(line, 1);
  return row;
}

constexpr int kLongestRepeat = 60000;
constexpr int kMostLeftOut = 65535;

}  // namespace

TfmProperties::TfmProperties(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      edCaption_(TextField(QStringLiteral("edCaption"), this)),
      edData_(TextField(QStringLiteral("edData"), this)),
      edDataBytes_(BytesLine(QStringLiteral("edDataBytes"), this)),
      edPressData_(TextField(QStringLiteral("edPressData"), this)),
      edPressDataBytes_(BytesLine(QStringLiteral("edPressDataBytes"), this)),
      edRepeatInterval_(new TSpinEdit(tr("Repeat every (ms, 0 = off)"), this)),
      edChecksum_(new QComboBox(this)),
      edChecksumFrom_(new TSpinEdit(tr("Leave out first (bytes)"), this)),
      cbChecksumHex_(new QCheckBox(tr("As hex text"), this)),
      edReply_(TextField(QStringLiteral("edReply"), this)),
      edReplyBytes_(BytesLine(QStringLiteral("edReplyBytes"), this)),
      edReplyTimeout_(new TSpinEdit(tr("Reply timeout (ms)"), this)),
      edIconNo_(new TSpinEdit(tr("Icon"), this)),
      edOutputNo_(new TSpinEdit(tr("Output"), this)),
      edButtonColour_(new TColourSelector(this)),
      edTextColour_(new TColourSelector(this)),
      btExample_(new TImageButton(this)),
      btCancel_(new QPushButton(tr("Cancel"), this)),
      BitBtn2_(new QPushButton(tr("OK"), this)) {
  setObjectName("fmProperties");
  setWindowTitle(tr("Button Properties"));
  working_.SetDefaults();

  edRepeatInterval_->setObjectName("edRepeatInterval");
  edRepeatInterval_->SetRange(0, kLongestRepeat);
  edChecksum_->setObjectName("edChecksum");
  edChecksum_->addItem(tr("(none)"));
  for (const TChecksumAlgorithm& algorithm : ChecksumAlgorithms()) {
    edChecksum_->addItem(
        QString::fromLatin1(algorithm.Name.data(), static_cast<qsizetype>(algorithm.Name.size())));
  }
  edChecksumFrom_->setObjectName("edChecksumFrom");
  edChecksumFrom_->SetRange(0, kMostLeftOut);
  cbChecksumHex_->setObjectName("cbChecksumHex");
  edReplyTimeout_->setObjectName("edReplyTimeout");
  edReplyTimeout_->SetRange(ClampReplyTimeout(0), ClampReplyTimeout(kLongestRepeat));
  edIconNo_->setObjectName("edIconNo");
  edIconNo_->SetRange(-1, -1);
  edOutputNo_->setObjectName("edOutputNo");
  edOutputNo_->SetRange(1, 4);
  edButtonColour_->setObjectName("edButtonColour");
  edTextColour_->setObjectName("edTextColour");
  btExample_->setObjectName("btExample");
  btExample_->setFixedSize(kPreviewSize);
  btExample_->setFocusPolicy(Qt::NoFocus);
  btExample_->SetBold(true);
  btCancel_->setObjectName("btCancel");
  BitBtn2_->setObjectName("BitBtn2");
  BitBtn2_->setDefault(true);

  auto* captionLabel = new QLabel(tr("Button Text"), this);
  captionLabel->setBuddy(edCaption_);
  auto* dataLabel = new QLabel(tr("Serial Data"), this);
  dataLabel->setBuddy(edData_);
  auto* pressDataLabel = new QLabel(tr("Press Data"), this);
  pressDataLabel->setBuddy(edPressData_);
  auto* checksumLabel = new QLabel(tr("Checksum"), this);
  checksumLabel->setBuddy(edChecksum_);
  auto* replyLabel = new QLabel(tr("Expected reply"), this);
  replyLabel->setBuddy(edReply_);
  auto* buttonColourLabel = new QLabel(tr("Button"), this);
  buttonColourLabel->setBuddy(edButtonColour_);
  auto* textColourLabel = new QLabel(tr("Text"), this);
  textColourLabel->setBuddy(edTextColour_);

  auto* layout = new QGridLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(captionLabel, 0, 0, 1, 2);
  layout->addWidget(edCaption_, 1, 0, 1, 2);
  layout->addWidget(dataLabel, 2, 0, 1, 2);
  layout->addWidget(edData_, 3, 0, 1, 2);
  layout->addLayout(LabelledBytesLine(edDataBytes_), 4, 0, 1, 2);
  layout->addWidget(pressDataLabel, 5, 0, 1, 2);
  layout->addWidget(edPressData_, 6, 0, 1, 2);
  layout->addLayout(LabelledBytesLine(edPressDataBytes_), 7, 0, 1, 2);
  layout->addWidget(edRepeatInterval_, 8, 0);
  auto* checksum = new QVBoxLayout;
  checksum->addWidget(checksumLabel);
  checksum->addWidget(edChecksum_);
  layout->addLayout(checksum, 8, 1);
  layout->addWidget(edChecksumFrom_, 9, 0);
  layout->addWidget(cbChecksumHex_, 9, 1, Qt::AlignBottom);
  layout->addWidget(replyLabel, 10, 0, 1, 2);
  layout->addWidget(edReply_, 11, 0, 1, 2);
  layout->addWidget(edReplyBytes_, 12, 0, 1, 2);
  layout->addWidget(edReplyTimeout_, 13, 0);
  layout->addWidget(edIconNo_, 14, 0);
  layout->addWidget(edOutputNo_, 14, 1);
  layout->addWidget(buttonColourLabel, 15, 0);
  layout->addWidget(textColourLabel, 15, 1);
  layout->addWidget(edButtonColour_, 16, 0);
  layout->addWidget(edTextColour_, 16, 1);
  layout->addWidget(btExample_, 17, 0, 1, 2, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btCancel_);
  buttons->addWidget(BitBtn2_);
  layout->addLayout(buttons, 18, 0, 1, 2);
  edCaption_->setMinimumWidth(2 * kPreviewSize.width());

  setTabOrder(edCaption_, edData_);
  setTabOrder(edData_, edPressData_);
  setTabOrder(edPressData_, edRepeatInterval_);
  setTabOrder(edRepeatInterval_, edChecksum_);
  setTabOrder(edChecksum_, edChecksumFrom_);
  setTabOrder(edChecksumFrom_, cbChecksumHex_);
  setTabOrder(cbChecksumHex_, edReply_);
  setTabOrder(edReply_, edReplyTimeout_);
  setTabOrder(edReplyTimeout_, edIconNo_);
  setTabOrder(edIconNo_, edOutputNo_);
  setTabOrder(edOutputNo_, edButtonColour_);
  setTabOrder(edButtonColour_, edTextColour_);
  setTabOrder(edTextColour_, btCancel_);
  setTabOrder(btCancel_, BitBtn2_);

  connect(edCaption_, &QLineEdit::textChanged, this, &TfmProperties::edCaptionChange);
  connect(edData_, &QLineEdit::textChanged, this, &TfmProperties::edDataChange);
  connect(edPressData_, &QLineEdit::textChanged, this, &TfmProperties::edDataChange);
  connect(edChecksum_, &QComboBox::currentIndexChanged, this, &TfmProperties::edDataChange);
  connect(edChecksumFrom_, &TSpinEdit::ValueChanged, this, &TfmProperties::edDataChange);
  connect(cbChecksumHex_, &QCheckBox::toggled, this, &TfmProperties::edDataChange);
  connect(edReply_, &QLineEdit::textChanged, this, &TfmProperties::edReplyChange);
  connect(edIconNo_, &TSpinEdit::ValueChanged, this, &TfmProperties::edIconNoChange);
  connect(edButtonColour_, &TColourSelector::ColourSelected, this,
          [this](TColour colour) { btExample_->SetButtonColour(ToQColor(colour)); });
  connect(edTextColour_, &TColourSelector::ColourSelected, this,
          [this](TColour colour) { btExample_->SetTextColour(ToQColor(colour)); });
  connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn2_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfmProperties::LoadRecord(const TCommand& record, int editedButton,
                               const TImageList& imageList, bool textIsUtf8) {
  imageList_ = &imageList;
  editedButton_ = editedButton;
  textIsUtf8_ = textIsUtf8;
  for (QLineEdit* field : {edCaption_, edData_, edPressData_, edReply_}) {
    field->findChild<TEncodableTextValidator*>()->SetTextIsUtf8(textIsUtf8);
  }
  working_.Assign(record);
  // The preview draws in the grid's font.
  if (parentWidget() != nullptr) btExample_->setFont(parentWidget()->font());
  LoadControls();
}

void TfmProperties::LoadControls() {
  setWindowTitle(tr("Button %1 Properties").arg(editedButton_));
  // Each text or check field's change refreshes the check in the working record
  // from all of them, so they are set from a copy taken before the first.
  const TCommand loaded = working_;
  loadedCaption_ = DecodeText(working_.Caption, textIsUtf8_);
  loadedData_ = DecodeText(working_.Data, textIsUtf8_);
  loadedPressData_ = DecodeText(working_.PressData, textIsUtf8_);
  loadedReply_ = DecodeText(working_.Reply, textIsUtf8_);
  edCaption_->setText(loadedCaption_);
  edData_->setText(loadedData_);
  edPressData_->setText(loadedPressData_);
  edReply_->setText(loadedReply_);
  edReplyChange();
  edReplyTimeout_->SetValue(loaded.ReplyTimeout);
  edRepeatInterval_->SetValue(loaded.RepeatInterval);
  // A stored name the table does not know stays selectable, so that OK keeps it.
  while (edChecksum_->count() > 1 + static_cast<int>(ChecksumAlgorithms().size())) {
    edChecksum_->removeItem(edChecksum_->count() - 1);
  }
  const TChecksumAlgorithm* algorithm = FindChecksum(loaded.Checksum);
  if (loaded.Checksum.empty()) {
    edChecksum_->setCurrentIndex(0);
  } else if (algorithm != nullptr) {
    edChecksum_->setCurrentIndex(1 + static_cast<int>(algorithm - ChecksumAlgorithms().data()));
  } else {
    unknownChecksum_ = loaded.Checksum;
    edChecksum_->addItem(DecodeText(loaded.Checksum, textIsUtf8_));
    edChecksum_->setCurrentIndex(edChecksum_->count() - 1);
  }
  edChecksumFrom_->SetValue(loaded.ChecksumFrom);
  cbChecksumHex_->setChecked(loaded.ChecksumForm == TChecksumForm::Hex);
  edDataChange();
  edButtonColour_->SetColour(working_.ButtonColour);
  edTextColour_->SetColour(working_.TextColour);
  edIconNo_->SetRange(-1, imageList_->Count() - 1);
  edIconNo_->SetValue(working_.ImageIndex);
  edOutputNo_->SetValue(working_.Output);
  btExample_->SetCaption(loadedCaption_);
  btExample_->SetButtonColour(ToQColor(working_.ButtonColour));
  btExample_->SetTextColour(ToQColor(working_.TextColour));
  btExample_->SetPicture(imageList_->Picture(working_.ImageIndex));
  edCaption_->setFocus();
}

void TfmProperties::edCaptionChange() { btExample_->SetCaption(edCaption_->text()); }

void TfmProperties::edDataChange() {
  StoreCheckControls();
  for (const auto& [field, line] :
       {std::pair{edData_, edDataBytes_}, std::pair{edPressData_, edPressDataBytes_}}) {
    const std::string text = EncodeText(field->text(), textIsUtf8_).value_or(std::string());
    line->setText(QString::fromStdString(FinalBytesInHex(text, working_)));
  }
}

void TfmProperties::StoreCheckControls() {
  const int index = edChecksum_->currentIndex();
  const auto known = static_cast<int>(ChecksumAlgorithms().size());
  if (index <= 0) {
    working_.Checksum.clear();
  } else if (index <= known) {
    working_.Checksum = std::string(ChecksumAlgorithms()[static_cast<size_t>(index - 1)].Name);
  } else {
    working_.Checksum = unknownChecksum_;
  }
  working_.ChecksumFrom = edChecksumFrom_->Value();
  working_.ChecksumForm = cbChecksumHex_->isChecked() ? TChecksumForm::Hex : TChecksumForm::Binary;
}

void TfmProperties::edReplyChange() {
  const std::string text = EncodeText(edReply_->text(), textIsUtf8_).value_or(std::string());
  edReplyBytes_->setText(QString::fromStdString(ReplyPatternInHex(ParseReplyPattern(text))));
}

void TfmProperties::edIconNoChange() {
  if (imageList_ != nullptr) btExample_->SetPicture(imageList_->Picture(edIconNo_->Value()));
}

void TfmProperties::done(int result) {
  StoreControls();
  QDialog::done(result);
}

void TfmProperties::StoreControls() {
  working_.Caption = StoredText(*edCaption_, loadedCaption_, working_.Caption, textIsUtf8_);
  working_.Data = StoredText(*edData_, loadedData_, working_.Data, textIsUtf8_);
  working_.PressData = StoredText(*edPressData_, loadedPressData_, working_.PressData, textIsUtf8_);
  working_.RepeatInterval = ClampRepeatInterval(edRepeatInterval_->Value());
  working_.Reply = StoredText(*edReply_, loadedReply_, working_.Reply, textIsUtf8_);
  working_.ReplyTimeout = ClampReplyTimeout(edReplyTimeout_->Value());
  StoreCheckControls();
  working_.ButtonColour = edButtonColour_->Colour();
  working_.TextColour = edTextColour_->Colour();
  working_.ImageIndex = edIconNo_->Value();
  working_.Output = static_cast<uint8_t>(edOutputNo_->Value());
}
