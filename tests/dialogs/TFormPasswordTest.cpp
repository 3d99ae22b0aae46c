#include "ManualTimer.h"

#include "config/Translation.h"
#include "dialogs/TFormPassword.h"
#include "tests/support/TTestFolder.h"
#include "widgets/QtBridge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers the prompt from inside its modal loop.
void WhileShown(std::function<void()> answer) { QTimer::singleShot(0, std::move(answer)); }

class PasswordWindow : public ::testing::Test {
 protected:
  PasswordWindow() {
    auto timer = std::make_unique<TManualTimer>();
    m_timer = timer.get();
    m_form.SetTimer(std::move(timer));
  }
  TFormPassword m_form;
  TManualTimer* m_timer;
};

}  // namespace

TEST_F(PasswordWindow, EnterConfirmsWhatWasTyped) {
  WhileShown([&] {
    QTest::keyClicks(m_form.PasswordBox, QStringLiteral("Secret"));
    QTest::keyClick(m_form.PasswordBox, Qt::Key_Return);
  });
  EXPECT_TRUE(m_form.ShowModal());
  EXPECT_EQ(m_form.Text(), "Secret");
  EXPECT_EQ(m_form.PasswordBox->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(m_timer->Active());
}

TEST_F(PasswordWindow, CancelAndTheCloseButtonDoNotConfirm) {
  WhileShown([&] {
    QTest::keyClicks(m_form.PasswordBox, QStringLiteral("Secret"));
    m_form.CancelButton->click();
  });
  EXPECT_FALSE(m_form.ShowModal());
  WhileShown([&] { m_form.close(); });
  EXPECT_FALSE(m_form.ShowModal());
  EXPECT_FALSE(m_timer->Active());
}

TEST_F(PasswordWindow, ThirtySecondsCountAsCancelEvenWhileTyping) {
  WhileShown([&] {
    EXPECT_EQ(m_timer->Interval, 30000);
    QTest::keyClicks(m_form.PasswordBox, QStringLiteral("Sec"));
    m_timer->Fire();
  });
  EXPECT_FALSE(m_form.ShowModal());
  EXPECT_FALSE(m_form.Confirmed());
}

TEST_F(PasswordWindow, EveryShowingStartsEmptyWithFreshTime) {
  WhileShown([&] {
    QTest::keyClicks(m_form.PasswordBox, QStringLiteral("first"));
    m_form.OkButton->click();
  });
  m_form.ShowModal();
  WhileShown([&] {
    EXPECT_TRUE(m_form.PasswordBox->text().isEmpty());
    EXPECT_TRUE(m_timer->Active());
    m_form.OkButton->click();
  });
  EXPECT_TRUE(m_form.ShowModal());
  EXPECT_EQ(m_form.Text(), "");
  EXPECT_EQ(m_timer->Starts, 2);
}

TEST_F(PasswordWindow, TextsFollowTheLanguage) {
  TTestFolder folder;
  folder.Write("Deutsch.lng", "[Translations]\r\nPassword Required=Passwort erforderlich\r\nEnter Password=Passwort\r\n"
                              "&Cancel=&Abbrechen\r\n");
  LoadLanguage(folder.File("Deutsch.lng"));
  WhileShown([&] {
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Passwort erforderlich"));
    EXPECT_EQ(m_form.PromptLabel->text(), QStringLiteral("Passwort"));
    EXPECT_EQ(m_form.OkButton->text(), QStringLiteral("&OK"));
    EXPECT_EQ(m_form.CancelButton->text(), QStringLiteral("&Abbrechen"));
    m_form.CancelButton->click();
  });
  m_form.ShowModal();
  LoadLanguage(folder.File("none.lng"));
}

TEST_F(PasswordWindow, AccentedTextComesBackAsSingleBytes) {
  WhileShown([&] {
    m_form.PasswordBox->setText(QString::fromUtf8("K\xC3\xA4se"));
    m_form.OkButton->click();
  });
  m_form.ShowModal();
  EXPECT_EQ(m_form.Text(), "K\xE4se");
}
