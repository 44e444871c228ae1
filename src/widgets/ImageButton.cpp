#include "widgets/ImageButton.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <qdrawutil.h>

#include <algorithm>

namespace {

constexpr int kFrameWidth = 2;
constexpr int kContentMargin = 3;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
constexpr qsizetype kLongestToolTip = 1000;

bool IsEnterKey(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// Hands handle the key, or Space in place of Return and Enter.
template <typename THandler>
void HandleEnterAsSpace(QKeyEvent* event, THandler handle) {
  if (!IsEnterKey(*event)) {
    handle(event);
    return;
  }
  QKeyEvent space(event->type(), Qt::Key_Space, event->modifiers(), QStringLiteral(" "),
                  event->isAutoRepeat());
  handle(&space);
  event->setAccepted(space.isAccepted());
}

}  // namespace

TImageButton::TImageButton(QWidget* parent)
    : QAbstractButton(parent),
      buttonColour_(palette().color(QPalette::Button)),
      textColour_(palette().color(QPalette::ButtonText)) {
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::StrongFocus);
  setContextMenuPolicy(Qt::CustomContextMenu);
  outcomeTimer_.setSingleShot(true);
  connect(&outcomeTimer_, &QTimer::timeout, this, &TImageButton::ClearOutcomeFrame);
}

void TImageButton::SetFlat(bool flat) {
  flat_ = flat;
  update();
}

void TImageButton::SetButtonColour(const QColor& colour) {
  buttonColour_ = colour;
  update();
}

void TImageButton::SetTextColour(const QColor& colour) {
  textColour_ = colour;
  update();
}

void TImageButton::SetBold(bool bold) {
  bold_ = bold;
  update();
}

void TImageButton::SetCaption(const QString& caption) {
  QString text = caption;
  setText(text.replace(QStringLiteral("\\n"), QStringLiteral("\n")));
  ++captionChanges_;
  // The whole caption, for when it is cut; a huge one up to what a tip can show.
  setToolTip(text.size() > kLongestToolTip ? text.left(kLongestToolTip) + QStringLiteral("...")
                                           : text);
  update();
}

QString TImageButton::ShownCaption() const {
  QFont captionFont = font();
  captionFont.setBold(bold_);
  const QSize pictureSize = picture_.isNull() ? QSize() : picture_.deviceIndependentSize().toSize();
  const int pictureSpace = picture_.isNull() ? 0 : pictureSize.width() + kPictureGap;
  const QSize area(std::max(1, width() - 2 * kContentMargin - pictureSpace),
                   std::max(1, height() - 2 * kContentMargin));
  if (shown_.CaptionChange == captionChanges_ && shown_.Area == area && shown_.Font == captionFont) {
    return shown_.Text;
  }
  const QFontMetrics metrics(captionFont);
  const int lineCount = std::max(1, area.height() / std::max(1, metrics.lineSpacing()));
  // No character is narrower than a pixel: more than this can never be seen.
  const qsizetype visible = static_cast<qsizetype>(lineCount) * (area.width() + 1);
  const QString caption = text();
  const bool cutShort = caption.size() > visible;
  QStringList lines;
  // Word wrapping as drawing does it, line by line, until the area is full.
  for (const QString& paragraph : caption.left(visible).split(QLatin1Char('\n'))) {
    QString rest = paragraph;
    do {
      int fits = static_cast<int>(std::min<qsizetype>(rest.size(), area.width() + 1));
      while (fits > 1 && metrics.horizontalAdvance(rest.left(fits)) > area.width()) {
        const int space = static_cast<int>(rest.lastIndexOf(QLatin1Char(' '), fits - 1));
        if (space <= 0) break;
        fits = space;
      }
      lines << rest.left(fits);
      rest = rest.mid(fits).trimmed();
    } while (!rest.isEmpty() && lines.size() <= lineCount);
    if (lines.size() > lineCount) break;
  }
  const bool more = cutShort || lines.size() > lineCount;
  while (lines.size() > lineCount) lines.removeLast();
  for (qsizetype index = 0; index < lines.size(); ++index) {
    QString line = lines[index];
    if (index == lines.size() - 1 && more) line += QChar(0x2026);
    // Cut at the end, with an ellipsis where the rest would be.
    if (metrics.horizontalAdvance(line) > area.width()) {
      line = metrics.elidedText(line, Qt::ElideRight, area.width());
    }
    lines[index] = line;
  }
  shown_ = {captionChanges_, area, captionFont, lines.join(QLatin1Char('\n'))};
  return shown_.Text;
}

void TImageButton::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

QSize TImageButton::sizeHint() const { return {49, 21}; }

void TImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), buttonColour_);
  DrawFrame(painter);
  DrawContent(painter);
  DrawOutcomeFrame(painter);
}

void TImageButton::ShowOutcomeFrame(const QColor& colour, std::chrono::milliseconds duration) {
  outcomeColour_ = colour;
  outcomeTimer_.start(duration);
  update();
}

void TImageButton::ClearOutcomeFrame() {
  outcomeTimer_.stop();
  if (!outcomeColour_.isValid()) return;
  outcomeColour_ = QColor();
  update();
}

void TImageButton::DrawOutcomeFrame(QPainter& painter) const {
  if (!outcomeColour_.isValid()) return;
  constexpr int kOutcomeWidth = 3;
  painter.setClipping(false);
  painter.setPen(QPen(outcomeColour_, kOutcomeWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  // The pen is centred on the rectangle: inset by half its width, it ends at
  // the button's edge.
  painter.drawRect(QRectF(rect()).adjusted(kOutcomeWidth / 2.0, kOutcomeWidth / 2.0,
                                           -kOutcomeWidth / 2.0, -kOutcomeWidth / 2.0));
}

void TImageButton::DrawFrame(QPainter& painter) const {
  const bool down = isDown();
  if (!flat_) {
    qDrawWinButton(&painter, rect(), palette(), down, nullptr);
  } else if (down || underMouse() || hasFocus()) {
    qDrawShadePanel(&painter, rect(), palette(), down, 1, nullptr);
  }
  if (hasFocus()) DrawFocusFrame(painter);
}

void TImageButton::DrawFocusFrame(QPainter& painter) const {
  // The style's dotted rectangle is lost on many faces and looks like the
  // hover frame when flat: a solid frame in black or white, whichever stands
  // out from the face, inside the button's own frame.
  constexpr int kFocusWidth = 2;
  constexpr qreal kInset = kFrameWidth + 1 + kFocusWidth / 2.0;
  const QColor colour = qGray(buttonColour_.rgb()) >= 128 ? Qt::black : Qt::white;
  painter.setPen(QPen(colour, kFocusWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset));
}

void TImageButton::DrawContent(QPainter& painter) const {
  QRect content = rect().adjusted(kContentMargin, kContentMargin, -kContentMargin,
                                  -kContentMargin);
  // A pressed button's content moves with the sunken face.
  if (isDown()) content.translate(1, 1);
  if (content.isEmpty()) return;
  painter.setClipRect(content);

  QFont captionFont = font();
  captionFont.setBold(bold_);
  painter.setFont(captionFont);

  const QSize pictureSize = picture_.isNull() ? QSize() : picture_.deviceIndependentSize().toSize();
  const int pictureSpace = picture_.isNull() ? 0 : pictureSize.width() + kPictureGap;
  const QString caption = ShownCaption();
  QRect textBounds;
  if (!caption.isEmpty()) {
    const QRect wrapArea(0, 0, std::max(1, content.width() - pictureSpace), content.height());
    textBounds = painter.fontMetrics().boundingRect(wrapArea, kTextFlags, caption);
  }
  const int captionWidth = caption.isEmpty() ? 0 : textBounds.width() + 1;
  const int blockWidth = (picture_.isNull() ? 0 : pictureSize.width()) +
                         (!picture_.isNull() && captionWidth > 0 ? kPictureGap : 0) + captionWidth;
  const int left = content.left() + (content.width() - blockWidth) / 2;

  if (!picture_.isNull()) {
    const int top = content.top() + (content.height() - pictureSize.height()) / 2;
    painter.drawPixmap(QPoint(left, top), picture_);
  }
  if (captionWidth > 0) {
    painter.setPen(textColour_);
    painter.drawText(QRect(left + pictureSpace, content.top(), captionWidth, content.height()),
                     kTextFlags, caption);
  }
}

void TImageButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  update();
}

void TImageButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  update();
}

void TImageButton::focusInEvent(QFocusEvent* event) {
  QAbstractButton::focusInEvent(event);
  emit FocusEntered();
}

// Return and Enter press a focused grid button as Space does.
void TImageButton::keyPressEvent(QKeyEvent* event) {
  HandleEnterAsSpace(event, [this](QKeyEvent* key) { QAbstractButton::keyPressEvent(key); });
}

void TImageButton::keyReleaseEvent(QKeyEvent* event) {
  HandleEnterAsSpace(event, [this](QKeyEvent* key) { QAbstractButton::keyReleaseEvent(key); });
}

// The second press of a double click arrives as a double-click event on some
// window systems; taking it as a new press makes a double click two clicks.
void TImageButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }
