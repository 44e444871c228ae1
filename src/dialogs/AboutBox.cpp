#include "dialogs/AboutBox.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "widgets/icons/AppIcon.h"

namespace {

constexpr int kIconSize = 32;
// Domains set aside for examples and tests: nobody can be reached there.
constexpr const char* kReservedDomainEnds[] = {
    ".example", ".invalid", ".test", ".localhost", "example.com", "example.net", "example.org"};

// A contact address the version block carries (its comments or its company
// name), or nothing: an address nobody can reach is not shown at all.
QString ContactAddress(const TExeInfo& info) {
  for (const std::string* text : {&info.Comments(), &info.CompanyName()}) {
    for (const QString& word : QString::fromStdString(*text).split(QLatin1Char(' '))) {
      const qsizetype at = word.indexOf(QLatin1Char('@'));
      if (at <= 0 || word.indexOf(QLatin1Char('.'), at) < 0) continue;
      const QString domain = word.mid(at + 1).toLower();
      const bool reserved =
          std::any_of(std::begin(kReservedDomainEnds), std::end(kReservedDomainEnds),
                      [&](const char* end) { return domain.endsWith(QLatin1String(end)); });
      if (!reserved) return word;
    }
  }
  return {};
}
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
  const QString contact = ContactAddress(ExeInfo_);
  Email_->setText(contact);
  Email_->setVisible(!contact.isEmpty());
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
