// Whether a text fits the settings file's encoding. User-interface thread only.
#include "widgets/EncodableTextValidator.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

#include "widgets/TextEncoding.h"

TEncodableTextValidator::TEncodableTextValidator(QObject* parent) : QValidator(parent) {
  auto* field = qobject_cast<QLineEdit*>(parent);
  if (field == nullptr) return;
  connect(field, &QLineEdit::inputRejected, this, [field] {
    QApplication::beep();
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                       QString::fromLatin1(kRefusedNote), field);
  });
}

QValidator::State TEncodableTextValidator::validate(QString& text, int& /*position*/) const {
  return EncodeText(text, textIsUtf8_) ? Acceptable : Invalid;
}
