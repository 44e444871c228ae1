// Builds the configuration dialog's pages: every control named, labelled and
// ranged; the page widget owns them all. User-interface thread only.
#include "dialogs/ConfigurationPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "widgets/EncodableTextValidator.h"
#include "dialogs/PortChoices.h"
#include "widgets/SpinEdit.h"

namespace {

// Characters the port-number list is wide enough for, e.g. "12  /dev/ttyUSB7".
constexpr int kPortEntryLength = 18;

const QString kOverridenHint = QStringLiteral("Overriden by Allow Editing");

QString Named(const char* name, int output) {
  return QStringLiteral("%1%2").arg(QLatin1String(name)).arg(output);
}

QCheckBox* AddCheckBox(QVBoxLayout* layout, const QString& caption, const QString& name,
                       const QString& hint = QString()) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  box->setToolTip(hint);
  layout->addWidget(box);
  return box;
}

TSpinEdit* AddSpinEdit(QGridLayout* layout, int row, int column, const QString& caption,
                       const QString& name, int minimum, int maximum,
                       const QString& hint = QString()) {
  auto* edit = new TSpinEdit(caption);
  edit->setObjectName(name);
  edit->SetRange(minimum, maximum);
  edit->setToolTip(hint);
  layout->addWidget(edit, row, column);
  return edit;
}

// A drop-down list with its label above it, as the spin fields have.
QComboBox* AddList(QGridLayout* layout, int row, int column, int columnSpan, const QString& caption,
                   const QString& name, const QString& hint = QString()) {
  auto* field = new QWidget;
  auto* fieldLayout = new QVBoxLayout(field);
  fieldLayout->setContentsMargins(0, 0, 0, 0);
  fieldLayout->setSpacing(2);
  auto* label = new QLabel(caption);
  auto* list = new QComboBox;
  list->setObjectName(name);
  list->setToolTip(hint);
  label->setToolTip(hint);
  label->setBuddy(list);
  fieldLayout->addWidget(label);
  fieldLayout->addWidget(list);
  layout->addWidget(field, row, column, 1, columnSpan);
  return list;
}

}  // namespace

TGeneralPage BuildGeneralPage(QWidget* parent) {
  TGeneralPage page{};
  page.Page = new QWidget(parent);
  page.Page->setObjectName(QStringLiteral("tsGeneral"));
  auto* layout = new QVBoxLayout(page.Page);

  auto* captionLabel = new QLabel(QStringLiteral("Main Caption"));
  page.MainCaption = new QLineEdit;
  page.MainCaption->setObjectName(QStringLiteral("edMainCaption"));
  page.MainCaptionValidator = new TEncodableTextValidator(page.MainCaption);
  page.MainCaption->setValidator(page.MainCaptionValidator);
  captionLabel->setBuddy(page.MainCaption);
  layout->addWidget(captionLabel);
  layout->addWidget(page.MainCaption);

  auto* grid = new QGridLayout;
  page.ButtonRows =
      AddSpinEdit(grid, 0, 0, QStringLiteral("Button Rows"), QStringLiteral("edButtonRows"), 1, 10);
  page.ButtonCols = AddSpinEdit(grid, 0, 1, QStringLiteral("Button Columns"),
                                QStringLiteral("edButtonCols"), 1, 10);
  layout->addLayout(grid);

  page.FlatButtons =
      AddCheckBox(layout, QStringLiteral("Flat Button Style"), QStringLiteral("cbFlatButtons"));
  page.AllowWindowMoving = AddCheckBox(layout, QStringLiteral("Allow Window Moving"),
                                       QStringLiteral("cbAllowWindowMoving"), kOverridenHint);
  page.AllowWindowResizing = AddCheckBox(layout, QStringLiteral("Allow Window Resizing"),
                                         QStringLiteral("cbAllowWindowResizing"), kOverridenHint);
  page.SaveWindowPosition = AddCheckBox(layout, QStringLiteral("Save Window Position"),
                                        QStringLiteral("cbSaveWindowPosition"), kOverridenHint);
  page.SaveWindowSize = AddCheckBox(layout, QStringLiteral("Save Window Size"),
                                    QStringLiteral("cbSaveWindowSize"), kOverridenHint);
  page.ShowComPortErrors = AddCheckBox(layout, QStringLiteral("Show Com Port Errors"),
                                       QStringLiteral("cbShowComPortErrors"));
  page.RemoteControl = new QLabel;
  page.RemoteControl->setObjectName(QStringLiteral("lbRemoteControl"));
  page.RemoteControl->setWordWrap(true);
  page.RemoteControl->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(page.RemoteControl);
  layout->addStretch();
  return page;
}

TOutputPage BuildOutputPage(int output, QWidget* parent) {
  TOutputPage page{};
  page.Page = new QWidget(parent);
  page.Page->setObjectName(Named("tsOutput", output));
  auto* layout = new QVBoxLayout(page.Page);

  auto* grid = new QGridLayout;
  // The whole row, for the device path beside each number.
  page.PortNo = AddList(grid, 0, 0, 2, QStringLiteral("Port Number"), Named("edPortNo", output));
  page.PortNo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  page.PortNo->setMinimumContentsLength(kPortEntryLength);
  page.BaudRate = AddList(grid, 1, 0, 1, QStringLiteral("Baud Rate"), Named("edBaudRate", output));
  // Output 2's data bits field is named "EdDataBits2", capital E included.
  page.DataBits = AddSpinEdit(grid, 2, 0, QStringLiteral("Data Bits"),
                              Named(output == 2 ? "EdDataBits" : "edDataBits", output), 5, 8,
                              QStringLiteral("The number of data bits in each byte"));
  page.StopBits = AddSpinEdit(grid, 2, 1, QStringLiteral("Stop Bits"), Named("edStopBits", output),
                              1, 2, QStringLiteral("The number of stop bits in each data byte"));
  page.Parity = AddList(grid, 1, 1, 1, QStringLiteral("Parity"), Named("edParity", output),
                        QStringLiteral("The type of parity to use"));
  for (const TParityEntry& entry : kParityEntries) {
    page.Parity->addItem(QString::fromLatin1(entry.Name.data(), entry.Name.size()));
  }
  layout->addLayout(grid);

  page.RS485Mode = AddCheckBox(layout, QStringLiteral("RS485 Mode"), Named("cbRS485Mode", output));
  auto* openRow = new QHBoxLayout;
  page.PortOpen = new QCheckBox(QStringLiteral("Port Open"));
  page.PortOpen->setObjectName(Named("cbPortOpen", output));
  page.NotPresent = new QLabel;
  page.NotPresent->setObjectName(Named("lbNotPresent", output));
  page.NotPresent->hide();
  openRow->addWidget(page.PortOpen);
  openRow->addWidget(page.NotPresent, 1);
  layout->addLayout(openRow);
  page.SamePort = new QLabel;
  page.SamePort->setObjectName(Named("lbSamePort", output));
  page.SamePort->setWordWrap(true);
  page.SamePort->hide();
  layout->addWidget(page.SamePort);
  if (output == 1) {
    layout->addSpacing(8);
    page.FlowControl = TFlowControlBoxes{
        AddCheckBox(layout, QStringLiteral("Software Flow Control"),
                    QStringLiteral("cbSwFlowControl1")),
        AddCheckBox(layout, QStringLiteral("Use DTR"), QStringLiteral("cbUseDTR1")),
        AddCheckBox(layout, QStringLiteral("Use RTS"), QStringLiteral("cbUseRTS1")),
        AddCheckBox(layout, QStringLiteral("Require DSR"), QStringLiteral("cbRequireDSR1")),
        AddCheckBox(layout, QStringLiteral("Require CTS"), QStringLiteral("cbRequireCTS1")),
    };
  }
  layout->addStretch();
  return page;
}
