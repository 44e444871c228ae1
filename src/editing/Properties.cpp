#include "editing/Properties.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

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

}  // namespace

TfmProperties::TfmProperties(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      edCaption_(TextField(QStringLiteral("edCaption"), this)),
      edData_(TextField(QStringLiteral("edData"), this)),
      edDataBytes_(new QLineEdit(this)),
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

  edDataBytes_->setObjectName("edDataBytes");
  edDataBytes_->setReadOnly(true);
  // Drawn as a line of text, not as a field to type in.
  edDataBytes_->setFrame(false);
  QPalette bytesPalette = edDataBytes_->palette();
  bytesPalette.setColor(QPalette::Base, bytesPalette.color(QPalette::Window));
  edDataBytes_->setPalette(bytesPalette);
  // Selectable for copying, but not a stop of the Tab key.
  edDataBytes_->setFocusPolicy(Qt::ClickFocus);
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
  layout->addWidget(edDataBytes_, 4, 0, 1, 2);
  layout->addWidget(edIconNo_, 5, 0);
  layout->addWidget(edOutputNo_, 5, 1);
  layout->addWidget(buttonColourLabel, 6, 0);
  layout->addWidget(textColourLabel, 6, 1);
  layout->addWidget(edButtonColour_, 7, 0);
  layout->addWidget(edTextColour_, 7, 1);
  layout->addWidget(btExample_, 8, 0, 1, 2, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btCancel_);
  buttons->addWidget(BitBtn2_);
  layout->addLayout(buttons, 9, 0, 1, 2);
  edCaption_->setMinimumWidth(2 * kPreviewSize.width());

  setTabOrder(edCaption_, edData_);
  setTabOrder(edData_, edIconNo_);
  setTabOrder(edIconNo_, edOutputNo_);
  setTabOrder(edOutputNo_, edButtonColour_);
  setTabOrder(edButtonColour_, edTextColour_);
  setTabOrder(edTextColour_, btCancel_);
  setTabOrder(btCancel_, BitBtn2_);

  connect(edCaption_, &QLineEdit::textChanged, this, &TfmProperties::edCaptionChange);
  connect(edData_, &QLineEdit::textChanged, this, &TfmProperties::edDataChange);
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
  for (QLineEdit* field : {edCaption_, edData_}) {
    field->findChild<TEncodableTextValidator*>()->SetTextIsUtf8(textIsUtf8);
  }
  working_.Assign(record);
  // The preview draws in the grid's font.
  if (parentWidget() != nullptr) btExample_->setFont(parentWidget()->font());
  LoadControls();
}

void TfmProperties::LoadControls() {
  setWindowTitle(tr("Button %1 Properties").arg(editedButton_));
  loadedCaption_ = DecodeText(working_.Caption, textIsUtf8_);
  loadedData_ = DecodeText(working_.Data, textIsUtf8_);
  edCaption_->setText(loadedCaption_);
  edData_->setText(loadedData_);
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
  const std::string data = EncodeText(edData_->text(), textIsUtf8_).value_or(std::string());
  edDataBytes_->setText(QString::fromStdString(DataBytesInHex(data)));
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
  working_.ButtonColour = edButtonColour_->Colour();
  working_.TextColour = edTextColour_->Colour();
  working_.ImageIndex = edIconNo_->Value();
  working_.Output = static_cast<uint8_t>(edOutputNo_->Value());
}
