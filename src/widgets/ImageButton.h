// The push button of the grid and of the properties preview: a face in any
// colour, a caption that may span lines, and an optional 16 by 16 picture left
// of it. Owned by its parent widget; user-interface thread only.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QTimer>

#include <chrono>

class TImageButton : public QAbstractButton {
  Q_OBJECT
  // The grid button's number, which also names its record.
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  static constexpr int kPictureGap = 4;

  explicit TImageButton(QWidget* parent = nullptr);

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // Flat: no frame except a thin one while hovered, focused or pressed.
  void SetFlat(bool flat);
  bool Flat() const { return flat_; }
  void SetButtonColour(const QColor& colour);
  QColor ButtonColour() const { return buttonColour_; }
  void SetTextColour(const QColor& colour);
  QColor TextColour() const { return textColour_; }
  void SetBold(bool bold);
  bool Bold() const { return bold_; }
  // A caption as stored: each backslash-"n" pair is a line break.
  void SetCaption(const QString& caption);
  // A null pixmap shows no picture.
  void SetPicture(const QPixmap& picture);

  // A coloured frame inside the edge that tells how the button's last reply
  // check came out; it goes after duration, or when cleared.
  void ShowOutcomeFrame(const QColor& colour, std::chrono::milliseconds duration);
  void ClearOutcomeFrame();
  // Invalid while no frame shows.
  QColor OutcomeFrame() const { return outcomeColour_; }

  QSize sizeHint() const override;
  // The caption as the current size shows it: the lines that fit, with an
  // ellipsis where a line or the rest is cut. Laid out once per change of caption, font
  // or size, and only as much of the caption as can be seen.
  QString ShownCaption() const;

 signals:
  void FocusEntered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void DrawFrame(QPainter& painter) const;
  void DrawFocusFrame(QPainter& painter) const;
  void DrawContent(QPainter& painter) const;
  void DrawOutcomeFrame(QPainter& painter) const;

  int tag_ = 0;
  bool flat_ = false;
  bool bold_ = false;
  QColor buttonColour_;
  QColor textColour_;
  QPixmap picture_;
  QColor outcomeColour_;
  int captionChanges_ = 0;
  struct TShownCaption {
    int CaptionChange = -1;
    QSize Area;
    QFont Font;
    QString Text;
  };
  mutable TShownCaption shown_;
  QTimer outcomeTimer_;
};
