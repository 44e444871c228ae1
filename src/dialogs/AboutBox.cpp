#include "dialogs/AboutBox.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "widgets/icons/AppIcon.h"

namespace {

constexpr int kIconSize = 32;
const char* const kContactAddress = "support@tovrana.example";
const char* const kPurposeLine = "Serial button panel for equipment control";

QLabel* BoldLabel(const QString& objectName, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(objectName);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : TAboutBox(parent, TExeInfo()) {}

TAboutBox::TAboutBox(QWidget* parent, TExeInfo exeInfo)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ExeInfo_(std::move(exeInfo)),
      IconImage_(new QLabel(this)),
      ProgramName_(BoldLabel(QStringLiteral("ProgramName"), this)),
      Version_(BoldLabel(QStringLiteral("Version"), this)),
      Email_(BoldLabel(QStringLiteral("Email"), this)),
      Purpose_(BoldLabel(QStringLiteral("Purpose"), this)),
      btOK_(new QPushButton(tr("Close"), this)) {
  setObjectName("AboutBox");
  IconImage_->setObjectName("IconImage");
  IconImage_->setFixedSize(kIconSize, kIconSize);
  Email_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Purpose_->setText(tr(kPurposeLine));
  btOK_->setObjectName("btOK");
  btOK_->setDefault(true);
  connect(btOK_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setHorizontalSpacing(16);
  layout->addWidget(IconImage_, 0, 0, 4, 1, Qt::AlignTop);
  layout->addWidget(ProgramName_, 0, 1);
  layout->addWidget(Version_, 1, 1);
  layout->addWidget(Email_, 2, 1);
  layout->addWidget(Purpose_, 3, 1);
  layout->addWidget(btOK_, 4, 0, 1, 2, Qt::AlignHCenter);
  FormShow();
}

void TAboutBox::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAboutBox::FormShow() {
  const QString productName = QString::fromStdString(ExeInfo_.ProductName());
  setWindowTitle(tr("About ") + productName);
  ProgramName_->setText(productName);
  Version_->setText(tr("Version ") + QString::fromStdString(ExeInfo_.FileVersion()));
  Email_->setText(QString::fromLatin1(kContactAddress));
  IconImage_->setPixmap(AppIcon().pixmap(kIconSize, kIconSize));
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  // Escape closes when it is released, not when it goes down.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TAboutBox::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    event->accept();
    reject();
    return;
  }
  QDialog::keyReleaseEvent(event);
}
