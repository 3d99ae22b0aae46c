#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "../dialogs/ManualTimer.h"
#include "dialogs/TFormOpen.h"
#include "render/PictureCodecs.h"
#include "tests/support/TestPictures.h"
#include "dialogs/TFormPassword.h"
#include "dialogs/TFormProgress.h"
#include "dialogs/TFormSettings.h"
#include "tools/SampleCatalog.h"
#include "tools/TCatalogWriter.h"
#include "tests/support/RunEvents.h"
#include "viewer/TCatalogWatcher.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "viewer/TWebView.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QEventLoop>
#include <QWebEnginePage>
#include <gtest/gtest.h>

namespace {

constexpr int kLongestWaitMs = 30000;

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int milliseconds) { return RunEventsUntil(done, milliseconds); }

bool TRecordingDesktop::OpenUrl(const QUrl& url) {
  Opened.push_back(url);
  return true;
}

bool TRecordingDesktop::StartProgram(const QString& program, const QStringList& arguments) {
  Started.emplace_back(program, arguments);
  return true;
}

void TRecordingDesktop::ShowError(const QString& message) { Errors.push_back(message); }

QString TRecordingDesktop::DefaultProgramForType(const QString& mimeType) {
  return mimeType == QLatin1String(kCatalogMimeType) ? DefaultProgram : QString();
}

bool TRecordingDesktop::OpenWith(const QString& desktopEntry, const QString& path) {
  OpenedWith.emplace_back(desktopEntry, path);
  return true;
}

TMovie TestMovie(int number, const std::string& title, const std::string& source) {
  TMovie movie;
  movie.Number = number;
  movie.OriginalTitle = title;
  movie.Source = source;
  movie.Rating = 70;
  movie.Year = 2000 + number;
  movie.Category = "Drama";
  movie.Actors = "Anna Berg, Ben Quinn";
  movie.Director = "Clara Dubois";
  // A small embedded cover, so every movie has a strip picture.
  std::string jpeg = EncodeJpeg(SolidBitmap(40, 60, static_cast<std::uint8_t>(number * 40), 90, 160));
  movie.PictureName = ".jpg";
  movie.Picture = std::make_unique<TPictureBytes>(jpeg.size());
  std::copy(jpeg.begin(), jpeg.end(), movie.Picture->Data());
  return movie;
}

void WriteTestCatalog(const std::string& path, const std::string& owner, const std::vector<TMovie>& movies) {
  TCatalogWriter writer(TFormatVersion::V35);
  TMovieProperties properties;
  properties.OwnerName = owner;
  writer.WriteHeader(properties);
  for (const TMovie& movie : movies) writer.WriteMovie(movie);
  WriteFileBytes(path, writer.Bytes());
}

bool TShowWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && OnShow) OnShow();
  return QObject::eventFilter(watched, event);
}

ViewerFixture::ViewerFixture() : Desktop(std::make_shared<TRecordingDesktop>()) {
  SetApplicationDesktop(Desktop);
  m_settingsWatcher.OnShow = [this] {
    ++SettingsShown;
    if (AutoCloseSettings) QTimer::singleShot(0, SettingsForm, [this] { SettingsForm->CancelButton->click(); });
  };
}

ViewerFixture::~ViewerFixture() {
  Loads.reset();
  Form.reset();
  Progress.reset();
  SetApplicationDesktop(nullptr);
}

void ViewerFixture::WriteConfig(const std::string& catalog, const std::string& moreLines) {
  Folder.Write("Config.ini", "[Config]\r\nCatalogFile=" + catalog + "\r\nAutoOpen=1\r\nMaximized=0\r\nLeft=0\r\nTop=0\r\n"
                             "Width=800\r\nHeight=600\r\n" + moreLines);
}

std::string ViewerFixture::WriteSample(int movies, unsigned seed) {
  TSampleOptions options;
  options.Movies = movies;
  options.Seed = seed;
  options.Pictures = TSamplePictures::Mixed;
  options.CoverWidth = 60;
  options.CoverHeight = 90;
  std::string path = Folder.File("Sample.qzt");
  WriteSampleCatalog(path, options);
  return path;
}

void ViewerFixture::Start() {
  Progress = std::make_unique<TFormProgress>();
  Form = std::make_unique<TFormMain>(TProgramPaths::ForFolder(Folder.Path()), Progress.get(), StartCatalog);
  // Made before any event runs, so not even the first page is missed.
  Loads = std::make_unique<QSignalSpy>(Parts(*Form).PageView, &QWebEngineView::loadFinished);
  Open = new TFormOpen(Form.get());
  SettingsForm = new TFormSettings(Form.get(), *Form);
  SettingsForm->ErrorBox = [this](QWidget*, const QString& message) { SettingsErrors.push_back(message); };
  SettingsForm->ChooseFile = [](QWidget*, const std::string&) -> std::optional<std::string> { return std::nullopt; };
  SettingsForm->installEventFilter(&m_settingsWatcher);
  Password = new TFormPassword(Form.get());
  auto timer = std::make_unique<TManualTimer>();
  PasswordTimer = timer.get();
  Password->SetTimer(std::move(timer));
  Form->SetDialogs(Open, SettingsForm, Password);
  Form->ShowWindow();
  Form->OpenStartCatalog();
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }, kLongestWaitMs));
  if (!Form->CurrentSelection().empty()) {
    ASSERT_TRUE(WaitForLoads(1));
  }
}

bool ViewerFixture::WaitForLoads(int count) {
  return WaitUntil([&] { return Loads->count() >= count; }, kLongestWaitMs);
}

bool ViewerFixture::Navigate(const std::function<void()>& action) {
  const int before = static_cast<int>(Loads->count());
  action();
  return WaitForLoads(before + 1);
}

std::string ViewerFixture::PageUrl() const {
  return Parts(*Form).PageView->url().toString(QUrl::FullyEncoded).toStdString();
}

QString ViewerFixture::PageHtml() {
  QString html;
  bool done = false;
  Parts(*Form).PageView->page()->toHtml([&](const QString& text) {
    html = text;
    done = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return done; }, kLongestWaitMs));
  return html;
}

QString ViewerFixture::PageText() {
  QString text;
  bool done = false;
  Parts(*Form).PageView->page()->toPlainText([&](const QString& plain) {
    text = plain;
    done = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return done; }, kLongestWaitMs));
  return text;
}

QVariant ViewerFixture::RunScript(const QString& script) {
  QVariant result;
  bool done = false;
  Parts(*Form).PageView->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return done; }, kLongestWaitMs));
  return result;
}

TStripFiller& ViewerFixture::Strip() { return *Form->findChild<TStripFiller*>(QStringLiteral("StripFiller")); }

TCatalogWatcher& ViewerFixture::Watcher() {
  return *Form->findChild<TCatalogWatcher*>(QStringLiteral("CatalogWatcher"));
}


void ViewerFixture::ClickSideBarItem(int section, int item) {
  const TSideBarModel& model = Parts(*Form).SideBar->Model();
  for (const TSideBarRow& row : model.Rows()) {
    if (row.IsSubItem && row.Index == section && row.SubIndex == item) {
      QPoint at((row.Rect.Left + row.Rect.Right) / 2, (row.Rect.Top + row.Rect.Bottom) / 2 - model.ScrollOffset());
      QTest::mouseClick(Parts(*Form).SideBar, Qt::LeftButton, Qt::NoModifier, at);
      return;
    }
  }
  ADD_FAILURE() << "no row for item " << section << "/" << item;
}

void ViewerFixture::ClickStripPicture(int index) {
  TCoverStripModel& model = Parts(*Form).CoverStrip->Model();
  const TRect& tile = model.Items()[index].Rect;
  QTest::mouseClick(Parts(*Form).CoverStrip, Qt::LeftButton, Qt::NoModifier,
                    QPoint(tile.Left - model.ScrollPos() + tile.Width() / 2, tile.Top + 3));
}

void ViewerFixture::AnswerPassword(const QString& text, bool confirm) {
  QTimer::singleShot(0, Password, [this, text, confirm] {
    Password->PasswordBox->setText(text);
    (confirm ? Password->OkButton : Password->CancelButton)->click();
  });
}
