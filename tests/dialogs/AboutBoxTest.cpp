// The About box on the offscreen platform: its texts from the version block of
// the running test program, which carries the program's block, and from an
// executable without one; the ways it closes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "dialogs/AboutBox.h"

namespace {

constexpr int kDeadlineMs = 10000;

QString LabelText(const TAboutBox& box, const char* name) {
  const auto* label = box.findChild<QLabel*>(name);
  return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

TEST(AboutBoxTest, ShowsNameAndVersionFromTheExecutablesBlock) {
  struct TCase {
    const char* executable;
    std::function<TAboutBox*()> make;
    QString title;
    QString version;
  };
  const QString plain = QStringLiteral("Updated at run-time");
  const std::vector<TCase> cases = {
      {"with the block", [] { return new TAboutBox(nullptr); }, "About Tovrana",
       QStringLiteral("Version " TOVRANA_PROJECT_VERSION)},
      {"without a block", [] { return new TAboutBox(nullptr, TExeInfo(TOVRANA_PLAIN_EXECUTABLE)); },
       "About " + plain, "Version " + plain},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.executable);
    std::unique_ptr<TAboutBox> box(test.make());
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get(), kDeadlineMs));
    EXPECT_EQ(box->windowTitle(), test.title);
    EXPECT_EQ(LabelText(*box, "ProgramName"), test.title.mid(6));
    EXPECT_EQ(LabelText(*box, "Version"), test.version);
    // Neither block carries a contact address: none is shown.
    EXPECT_TRUE(LabelText(*box, "Email").isEmpty());
    EXPECT_FALSE(box->findChild<QLabel*>("Email")->isVisible());
    const auto* icon = box->findChild<QLabel*>("IconImage");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(box->findChild<QPushButton*>("btOK")->isDefault());
  }
}

TEST(AboutBoxTest, EscapeClosesOnReleaseAndEnterThroughClose) {
  TAboutBox box(nullptr);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box, kDeadlineMs));
  QTest::keyPress(&box, Qt::Key_Escape);
  EXPECT_TRUE(box.isVisible());
  QTest::keyRelease(&box, Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());

  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box, kDeadlineMs));
  QTest::keyClick(box.findChild<QPushButton*>("btOK"), Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

}  // namespace
