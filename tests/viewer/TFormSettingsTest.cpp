#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "config/Translation.h"
#include "render/PictureCodecs.h"
#include "tests/support/TestPictures.h"
#include "dialogs/TFormSettings.h"
#include "browse/TSortMenus.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "viewer/TWebView.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TGrid.h"
#include "widgets/TSideBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class SettingsWindow : public ::testing::Test, public ViewerFixture {
 protected:
  void SetUp() override { AutoCloseSettings = false; }
  void TearDown() override { LoadLanguage(Folder.File("none.lng")); }

  // The window as a showing fills it, without running its modal loop.
  TFormSettings& Dialog() {
    SettingsForm->PrepareToShow();
    return *SettingsForm;
  }

  QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
};

}  // namespace

TEST_F(SettingsWindow, ShowsEverySettingAndTheInsertInfoMenu) {
  Folder.Write("Schemes.ini", "[Default]\r\n[midnight]\r\n[Sand]\r\n");
  WriteConfig(WriteSample(4), "ColorScheme=Midnight\r\nTitleType=1\r\nMaxImageWidth=-5\r\nDateFormat=yyyy\r\n"
                              "ExternalPlayer=/usr/bin/player\r\nVideoPathField=Comments\r\nProtected=0\r\n"
                              "ShowEditButton=0\r\n");
  Start();
  Form->Settings().Password = "pw";
  TFormSettings& d = Dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Settings"));
  // The scheme that follows the desktop is offered without a section.
  EXPECT_EQ(Items(d.ComboSchemes), (QStringList{"Default", "midnight", "Sand", "System"}));
  EXPECT_EQ(d.ComboSchemes->currentText(), QStringLiteral("midnight"));
  EXPECT_EQ(d.ComboTitle->currentIndex(), 1);
  EXPECT_EQ(d.SpinMaxImageWidth->value(), -5);
  EXPECT_EQ(d.EditExternalPlayer->text(), QStringLiteral("/usr/bin/player"));
  EXPECT_EQ(d.ComboVideoField->currentText(), QStringLiteral("Comments"));
  EXPECT_EQ(d.EditDateSample->text(), QString::number(QDate::currentDate().year()));
  EXPECT_FALSE(d.CheckEditButton->isChecked());
  EXPECT_TRUE(d.CheckOpenButton->isChecked());
  // The password boxes hold the password but are off without protection.
  EXPECT_EQ(d.EditPassword1->text(), QStringLiteral("pw"));
  EXPECT_EQ(d.EditPassword2->text(), QStringLiteral("pw"));
  EXPECT_FALSE(d.EditPassword1->isEnabled());
  EXPECT_FALSE(d.LabelPassword2->isEnabled());
  d.CheckPassword->click();
  EXPECT_TRUE(d.EditPassword1->isEnabled());
  EXPECT_TRUE(d.LabelPassword1->isEnabled());

  ASSERT_EQ(d.Tabs->count(), 7);
  EXPECT_EQ(d.Tabs->tabText(5), QStringLiteral("Paths"));
  EXPECT_EQ(d.Tabs->tabText(6), QStringLiteral("About"));
  EXPECT_TRUE(d.LabelAbout->text().contains(QStringLiteral("Elk Movie Catalog Viewer")));
  EXPECT_TRUE(d.LabelAbout->text().contains(QStringLiteral(ELK_VERSION)));

  const QList<QAction*> items = d.InsertInfoMenu->actions();
  ASSERT_EQ(items.size(), 36);
  EXPECT_EQ(items.front()->text(), QStringLiteral("Actors"));
  EXPECT_EQ(items[12]->text(), QStringLiteral("Frame Rate"));
  EXPECT_EQ(items.back()->text(), QStringLiteral("Link (in Template List)"));
}

TEST_F(SettingsWindow, TypingADateFormatShowsTheSampleAtOnce) {
  WriteConfig(WriteSample(2));
  Start();
  TFormSettings& d = Dialog();
  d.ComboDate->setEditText(QStringLiteral("yyyy"));
  EXPECT_EQ(d.EditDateSample->text(), QString::number(QDate::currentDate().year()));
  d.ComboDate->setEditText(QStringLiteral("dd/mm/yyyy"));
  EXPECT_EQ(d.EditDateSample->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

TEST_F(SettingsWindow, LanguageListFromTheProgramFolder) {
  WriteConfig(WriteSample(2));
  Start();
  // No language file: only English, selected.
  EXPECT_EQ(Items(Dialog().ComboLanguages), QStringList{"English"});
  EXPECT_EQ(Dialog().ComboLanguages->currentIndex(), 0);
  // Two files for other languages: English first, then their names,
  // sorted; English stays chosen.
  Folder.Write("svenska.lng", "[Translations]\r\n");
  Folder.Write("Deutsch.lng", "[Translations]\r\nMovies=Filme\r\nOpen=\xD6" "ffnen\r\n");
  TFormSettings& d = Dialog();
  EXPECT_EQ(Items(d.ComboLanguages), (QStringList{"English", "Deutsch", "svenska"}));
  EXPECT_EQ(d.ComboLanguages->currentIndex(), 0);
  // German, and back to English.
  d.ComboLanguages->setCurrentIndex(1);
  d.Apply();
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " \xD6" "ffnen");
  EXPECT_EQ(Dialog().ComboLanguages->currentIndex(), 1);
  d.ComboLanguages->setCurrentIndex(0);
  d.Confirm();
  EXPECT_EQ(Form->Settings().Language, "English");
  EXPECT_NE(Folder.Read("Config.ini").find("Language=English\r\n"), std::string::npos);
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " Open");
}

TEST_F(SettingsWindow, UserVariablesKeepTheirEqualsSignsAndDropIncompleteRows) {
  WriteConfig(WriteSample(2));
  Start();
  TFormSettings& d = Dialog();
  d.GridUserVars->SetRowCount(4);
  d.GridUserVars->SetCells(0, 0, "a=b");
  d.GridUserVars->SetCells(1, 0, "c=d");
  d.GridUserVars->SetCells(0, 1, "only find");
  d.GridUserVars->SetCells(1, 2, "only replace");
  d.GridUserVars->SetCells(0, 3, "Tom");
  d.GridUserVars->SetCells(1, 3, "Thomas");
  d.Apply();
  const auto& vars = Form->Settings().UserVars.Entries();
  ASSERT_EQ(vars.size(), 2u);
  EXPECT_EQ(vars[0].Name, "a&equal;b");
  EXPECT_EQ(vars[0].Value, "c&equal;d");
  EXPECT_EQ(vars[1].Name, "Tom");
  // Shown again as typed.
  TFormSettings& again = Dialog();
  EXPECT_EQ(again.GridUserVars->RowCount(), 2);
  EXPECT_EQ(again.GridUserVars->Cells(0, 0), "a=b");
  EXPECT_EQ(again.GridUserVars->Cells(1, 0), "c=d");
  // No variables: one empty row to type into.
  Form->Settings().UserVars.Clear();
  EXPECT_EQ(Dialog().GridUserVars->RowCount(), 1);
}

TEST_F(SettingsWindow, CancelAfterApplyKeepsWhatApplyDid) {
  WriteConfig(WriteSample(3));
  Start();
  const std::string saved = Folder.Read("Config.ini");
  TFormSettings& d = Dialog();
  d.CheckPlayButton->setChecked(false);
  d.SpinMaxImageHeight->setValue(123);
  d.Apply();
  d.Cancel();
  EXPECT_FALSE(Form->Settings().ShowPlayButton);
  EXPECT_EQ(Form->Settings().MaxImageHeight, 123);
  EXPECT_FALSE(Parts(*Form).PlayButton->isVisible());
  // Nothing is written before the next save.
  EXPECT_EQ(Folder.Read("Config.ini"), saved);
}

TEST_F(SettingsWindow, MismatchedPasswordsKeepEveryEarlierSetting) {
  WriteConfig(WriteSample(3));
  Start();
  const std::string saved = Folder.Read("Config.ini");
  TFormSettings& d = Dialog();
  d.CheckFullScreen->setChecked(true);
  d.MemoTemplate->setPlainText(QStringLiteral("<p>changed</p>"));
  d.CheckPassword->setChecked(true);
  d.EditPassword1->setText(QStringLiteral("Secret"));
  d.EditPassword2->setText(QStringLiteral("secret"));
  d.Confirm();
  ASSERT_EQ(SettingsErrors.size(), 1u);
  EXPECT_EQ(SettingsErrors[0], QStringLiteral("Passwords mismatch."));
  EXPECT_FALSE(Form->Settings().FullScreen);
  EXPECT_FALSE(Form->Settings().Protected);
  EXPECT_NE(Form->Settings().Template.front(), "<p>changed</p>");
  EXPECT_EQ(Folder.Read("Config.ini"), saved);

  // Without protection the confirmation is not looked at.
  d.CheckPassword->setChecked(false);
  d.CheckFullScreen->setChecked(false);
  d.Confirm();
  EXPECT_EQ(SettingsErrors.size(), 1u);
  EXPECT_EQ(Form->Settings().Password, "Secret");
  EXPECT_NE(Folder.Read("Config.ini").find("[Template]"), std::string::npos);
}

TEST_F(SettingsWindow, OkSavesAndAFailedSaveLeavesTheWindowOpen) {
  WriteConfig(WriteSample(3));
  Start();
  TFormSettings& d = Dialog();
  d.SpinMaxImageWidth->setValue(321);
  d.Confirm();
  EXPECT_NE(Folder.Read("Config.ini").find("MaxImageWidth=321"), std::string::npos);
  EXPECT_TRUE(Desktop->Errors.empty());

  // A folder where Config.ini should be: saving fails.
  std::filesystem::remove(Folder.File("Config.ini"));
  std::filesystem::create_directory(Folder.File("Config.ini"));
  QTimer::singleShot(0, SettingsForm, [&] { SettingsForm->OkButton->click(); });
  QTimer::singleShot(0, SettingsForm, [&] {
    // Still open after the error; Cancel closes it.
    EXPECT_TRUE(SettingsForm->isVisible());
    SettingsForm->CancelButton->click();
  });
  SettingsForm->ShowModal();
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].startsWith(QStringLiteral("Unable to write to")));
  std::filesystem::remove(Folder.File("Config.ini"));
}

TEST_F(SettingsWindow, F10OpensItWithTheLastTabActive) {
  WriteConfig(WriteSample(3));
  Start();
  QTimer::singleShot(0, SettingsForm, [&] {
    SettingsForm->Tabs->setCurrentWidget(SettingsForm->TabUserVars);
    SettingsForm->CancelButton->click();
  });
  QTest::keyClick(Parts(*Form).SideBar, Qt::Key_F10);
  QTimer::singleShot(0, SettingsForm, [&] {
    EXPECT_EQ(SettingsForm->Tabs->currentWidget(), SettingsForm->TabUserVars);
    SettingsForm->CancelButton->click();
  });
  Form->Run(TWindowCommand::Settings);
  EXPECT_EQ(SettingsShown, 2);
}

TEST_F(SettingsWindow, InsertInfoInsertsAtTheCaretOrOverTheSelection) {
  WriteConfig(WriteSample(2));
  Start();
  TFormSettings& d = Dialog();
  d.MemoTemplate->setPlainText(QStringLiteral("<b></b>"));
  QTextCursor caret = d.MemoTemplate->textCursor();
  caret.setPosition(3);
  d.MemoTemplate->setTextCursor(caret);
  d.OfferInsertInfo();
  EXPECT_EQ(d.InsertTarget(), 0);
  d.InsertInfoMenu->actions()[27]->trigger();  // Title
  d.InsertInfoMenu->close();
  EXPECT_EQ(d.MemoTemplate->toPlainText(), QStringLiteral("<b>$TITLE</b>"));

  d.MemoListTemplate->setPlainText(QStringLiteral("old text"));
  QTextCursor selection = d.MemoListTemplate->textCursor();
  selection.setPosition(0);
  selection.setPosition(3, QTextCursor::KeepAnchor);
  d.MemoListTemplate->setTextCursor(selection);
  d.OfferListInsertInfo();
  EXPECT_EQ(d.InsertTarget(), 1);
  d.InsertInfoMenu->actions().back()->trigger();
  d.InsertInfoMenu->close();
  EXPECT_EQ(d.MemoListTemplate->toPlainText(), QStringLiteral("$LINK text"));
  EXPECT_EQ(d.MemoTemplate->toPlainText(), QStringLiteral("<b>$TITLE</b>"));
}

TEST_F(SettingsWindow, PlayerChooserOffersProgramsFirst) {
  Folder.Write("tool", "#!/bin/sh\n");
  std::filesystem::permissions(Folder.File("tool"), std::filesystem::perms::owner_all);
  Folder.Write("notes.txt", "text");
  EXPECT_TRUE(TFormSettings::OfferedAsProgram(QFileInfo(QString::fromStdString(Folder.File("tool")))));
  EXPECT_FALSE(TFormSettings::OfferedAsProgram(QFileInfo(QString::fromStdString(Folder.File("notes.txt")))));
  EXPECT_TRUE(TFormSettings::OfferedAsProgram(QFileInfo(QString::fromStdString(Folder.Path()))));

  WriteConfig(WriteSample(2), "ExternalPlayer=/old/player\r\n");
  Start();
  TFormSettings& d = Dialog();
  std::string proposed;
  d.ChooseFile = [&](QWidget*, const std::string& text) -> std::optional<std::string> {
    proposed = text;
    return std::nullopt;
  };
  d.ChoosePlayer();
  EXPECT_EQ(proposed, "/old/player");
  EXPECT_EQ(d.EditExternalPlayer->text(), QStringLiteral("/old/player"));
  d.ChooseFile = [&](QWidget*, const std::string&) -> std::optional<std::string> { return Folder.File("tool"); };
  d.ChoosePlayer();
  EXPECT_EQ(d.EditExternalPlayer->text().toStdString(), Folder.File("tool"));
}

TEST_F(SettingsWindow, TextsStayEnglishUnderAnyLanguage) {
  Folder.Write("Deutsch.lng", "[Translations]\r\n&OK=&Gut\r\n&Cancel=&Abbrechen\r\nTitle=Titel\r\n");
  WriteConfig(WriteSample(2), "Language=Deutsch\r\n");
  Start();
  TFormSettings& d = Dialog();
  EXPECT_EQ(d.OkButton->text(), QStringLiteral("&OK"));
  EXPECT_EQ(d.CancelButton->text(), QStringLiteral("&Cancel"));
  EXPECT_EQ(d.ComboTitle->itemText(0), QStringLiteral("Original Title"));
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " Open");
  EXPECT_EQ(Parts(*Form).SearchField->itemText(0), QStringLiteral("Titel"));
}

// Applying.

TEST_F(SettingsWindow, ApplyRecoloursRecaptionsAndReloadsThePage) {
  Folder.Write("Schemes.ini", "[Default]\r\n[Night]\r\nGalleryColor=#102030\r\nButtonColor=#405060\r\n"
                              "PageBackgroundColor=#111111\r\n");
  Folder.Write("Deutsch.lng", "[Translations]\r\nOpen=\xD6" "ffnen\r\nMovies=Filme\r\n");
  WriteConfig(WriteSample(5));
  Start();
  const std::string page = PageUrl();
  TFormSettings& d = Dialog();
  d.ComboSchemes->setCurrentIndex(1);
  d.ComboLanguages->setCurrentText(QStringLiteral("Deutsch"));
  d.CheckOpenButton->setChecked(false);
  ASSERT_TRUE(Navigate([&] { d.Apply(); }));
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), 0x302010u);
  EXPECT_EQ(Parts(*Form).EditButton->Color(), 0x605040u);
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " \xD6" "ffnen");
  EXPECT_EQ(Parts(*Form).StatusCount->text(), QStringLiteral("5 Filme"));
  EXPECT_FALSE(Parts(*Form).OpenButton->isVisible());
  EXPECT_EQ(Parts(*Form).EditButton->x(), 5);
  // The same page again, in the new frame.
  EXPECT_EQ(PageUrl(), page);
  EXPECT_EQ(RunScript(QStringLiteral("document.body.getAttribute('bgcolor')")).toString(), QStringLiteral("#111111"));
}

TEST_F(SettingsWindow, NothingChosenYetReloadsTheEmptyFrame) {
  WriteConfig(Folder.File("none.qzt"));
  Start();
  ASSERT_TRUE(Navigate([&] { Dialog().Apply(); }));
  EXPECT_EQ(PageUrl(), "movie://localhost/movie[].html");
  EXPECT_TRUE(PageHtml().contains(QStringLiteral("bgcolor")));
}

TEST_F(SettingsWindow, TitleTypeRetitlesWithoutRebuildingTheSideBar) {
  std::vector<TMovie> movies = Movies(TestMovie(1, "Original One"), TestMovie(2, "Original Two"));
  movies[0].TranslatedTitle = "Translated One";
  WriteTestCatalog(Folder.File("Titles.qzt"), "Ann", movies);
  WriteConfig(Folder.File("Titles.qzt"));
  Start();
  TSideBarItems& sections = Parts(*Form).SideBar->Items();
  const TSideBarItem* section = &sections[0];
  ASSERT_TRUE(WaitUntil([&] { return Parts(*Form).CoverStrip->Items().Count() == 2; }));
  AutoCloseSettings = true;
  Form->Run(TWindowCommand::Settings);  // records the title type; the window closes at once
  AutoCloseSettings = false;
  SettingsForm->PrepareToShow();
  SettingsForm->ComboTitle->setCurrentIndex(1);
  SettingsForm->Apply();
  EXPECT_EQ(&sections[0], section);
  EXPECT_EQ(sections[0].Items().Strings(0), "Translated One");
  EXPECT_EQ(sections[0].Items().Strings(1), "Original Two");
  EXPECT_EQ(Parts(*Form).SideBar->ItemIndex(), 0);
  EXPECT_EQ(Parts(*Form).SideBar->SubItemIndex(), 0);
  EXPECT_EQ(Parts(*Form).CoverStrip->Items()[0].Hint, "Translated One");
  EXPECT_EQ(Parts(*Form).CoverStrip->Items()[1].Hint, "Original Two");
}

TEST_F(SettingsWindow, PeopleNamesKeepTheirTextWhenTheTitleTypeChanges) {
  WriteConfig(WriteSample(6), "LastGroup=17\r\n");
  Start();
  const std::string name = Parts(*Form).SideBar->Items()[0].Items().Strings(0);
  AutoCloseSettings = true;
  Form->Run(TWindowCommand::Settings);
  AutoCloseSettings = false;
  SettingsForm->PrepareToShow();
  SettingsForm->ComboTitle->setCurrentIndex(1);
  SettingsForm->Apply();
  EXPECT_EQ(Parts(*Form).SideBar->Items()[0].Items().Strings(0), name);
}

TEST_F(SettingsWindow, TurningTopImagesOnFillsANeverFilledStripOnce) {
  WriteConfig(WriteSample(6), "ShowTopImages=0\r\n");
  Start();
  EXPECT_FALSE(Parts(*Form).CoverStrip->isVisible());
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), 0);
  TFormSettings& d = Dialog();
  d.CheckShowTopImages->setChecked(true);
  d.Apply();
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }));
  const int pictures = Parts(*Form).CoverStrip->Items().Count();
  EXPECT_GT(pictures, 0);
  EXPECT_TRUE(Parts(*Form).CoverStrip->isVisible());
  EXPECT_TRUE(Parts(*Form).CoverStrip->Active());
  // Off hides the strip without emptying it; on again does not fill again.
  d.CheckShowTopImages->setChecked(false);
  d.Apply();
  EXPECT_FALSE(Parts(*Form).CoverStrip->isVisible());
  EXPECT_FALSE(Parts(*Form).CoverStrip->Active());
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), pictures);
  d.CheckShowTopImages->setChecked(true);
  d.CheckAutoscroll->setChecked(false);
  d.Apply();
  EXPECT_FALSE(Strip().Filling());
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), pictures);
  EXPECT_FALSE(Parts(*Form).CoverStrip->Active());
}

TEST_F(SettingsWindow, FullScreenOnAndOff) {
  WriteConfig(WriteSample(3));
  Start();
  // Leaving full screen gives the window back the size it had.
  Form->resize(700, 500);
  TFormSettings& d = Dialog();
  d.CheckFullScreen->setChecked(true);
  d.Apply();
  EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Form->isMaximized());
  EXPECT_TRUE(Parts(*Form).ClosePanel->isVisible());
  EXPECT_TRUE(Form->isVisible());
  d.CheckFullScreen->setChecked(false);
  d.Apply();
  EXPECT_FALSE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(Form->isMaximized());
  EXPECT_FALSE(Parts(*Form).ClosePanel->isVisible());
  EXPECT_EQ(Form->size(), QSize(700, 500));
}

TEST_F(SettingsWindow, PathsTabCountsAndAppliesTheRules) {
  Folder.Write("covers/one.jpg", EncodeJpeg(SolidBitmap(30, 45, 10, 200, 30)));
  std::vector<TMovie> movies = Movies(TestMovie(1, "One"), TestMovie(2, "Two"));
  for (TMovie& movie : movies) movie.Picture.reset();
  movies[0].PictureName = "C:\\Covers\\one.jpg";
  movies[1].PictureName = "C:\\Covers\\two.jpg";
  movies[0].Source = "C:\\Covers\\one.jpg";
  WriteTestCatalog(Folder.File("Linked.qzt"), "Ann", movies);
  WriteConfig(Folder.File("Linked.qzt"), "VideoPathField=Source\r\n");
  Start();
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), 0);
  TFormSettings& d = Dialog();
  EXPECT_TRUE(d.LabelPathCounts->text().contains(QStringLiteral("Linked pictures found: 0 of 2 as stored, 0 of 2")));
  d.GridPathMap->SetCells(0, 0, "c:\\covers\\");
  d.GridPathMap->SetCells(1, 0, Folder.File("covers/"));
  d.CheckPaths();
  EXPECT_TRUE(d.LabelPathCounts->text().contains(QStringLiteral("0 of 2 as stored, 1 of 2 with these rules")))
      << d.LabelPathCounts->text().toStdString();
  EXPECT_TRUE(d.LabelPathCounts->text().contains(QStringLiteral("Video files found: 0 of 1 as stored, 1 of 1")));
  d.Apply();
  ASSERT_EQ(Form->Settings().PathMap.size(), 1u);
  EXPECT_EQ(Form->Settings().PathMap[0].From, "c:\\covers\\");
  // The strip is made again and finds the cover.
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling() && Parts(*Form).CoverStrip->Items().Count() == 1; }));
  d.Confirm();
  EXPECT_NE(Folder.Read("Config.ini").find("[PathMap]"), std::string::npos);
}
