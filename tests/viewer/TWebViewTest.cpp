#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "browse/TSortMenus.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "config/TimingLog.h"
#include "viewer/TWebView.h"

#include <QTest>
#include <QWebEnginePage>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

class WebView : public ::testing::Test, public ViewerFixture {
 protected:
  // A page of the program folder, served by the file fallback.
  void WriteLinksPage() {
    Folder.Write("links.html",
                 "<html><body style='margin:0'>"
                 "<a id='web' href='http://www.example.com/x' style='display:block;height:40px'>web</a>"
                 "<a id='mail' href='mailto:ann@example.com' style='display:block;height:40px'>mail</a>"
                 "<a id='inside' href='movie[1].html' style='display:block;height:40px'>inside</a>"
                 "</body></html>");
  }

  // Clicks the middle of an element as the user would.
  void ClickElement(const char* id) {
    QVariant box = RunScript(QStringLiteral("(function(){var r=document.getElementById('%1').getBoundingClientRect();"
                                            "return [r.left + r.width / 2, r.top + r.height / 2];})()")
                                 .arg(QLatin1String(id)));
    QVariantList point = box.toList();
    ASSERT_EQ(point.size(), 2);
    QWidget* target = Parts(*Form).PageView->focusProxy();
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(point[0].toInt(), point[1].toInt()));
  }
};

}  // namespace

TEST_F(WebView, RequestsAreDecodedAndLoseTheirFragment) {
  WriteConfig(WriteSample(3));
  Folder.Write("a b\"c%d.html", "<html><body>seen</body></html>");
  Start();
  const QUrl url(QStringLiteral("movie://localhost/a b\"c%25d.html#part"));
  ASSERT_TRUE(Navigate([&] { Parts(*Form).PageView->load(url); }));
  EXPECT_EQ(PageText(), QStringLiteral("seen"));
}

TEST_F(WebView, NamesNobodyAnswersFailAsNotFound) {
  WriteConfig(WriteSample(3));
  Start();
  QSignalSpy finished(Parts(*Form).PageView, &QWebEngineView::loadFinished);
  Parts(*Form).PageView->load(QUrl(QStringLiteral("movie://localhost/no-such-file.css")));
  ASSERT_TRUE(WaitUntil([&] { return finished.count() > 0; }));
  EXPECT_FALSE(finished.front().front().toBool());
}

TEST_F(WebView, AccentedCatalogTextsShowCorrectly) {
  WriteTestCatalog(Folder.File("Cafe.qzt"), "Jos\xE9", Movies(TestMovie(1, "Caf\xE9 M\xFCller \x80")));
  WriteConfig(Folder.File("Cafe.qzt"));
  Start();
  EXPECT_TRUE(PageText().contains(QString::fromUtf8("Caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC"))) << PageText().toStdString();
}

TEST_F(WebView, PagesUseAnInstalledSansFace) {
  WriteConfig(WriteSample(3));
  Start();
  EXPECT_EQ(PageFontFamily(), QStringLiteral("DejaVu Sans"));
  QString family = RunScript(QStringLiteral("getComputedStyle(document.querySelector('td')).fontFamily")).toString();
  EXPECT_EQ(family, QStringLiteral("Verdana"));
}

TEST_F(WebView, LinksTheUserClicksToOtherSchemesGoToTheDesktop) {
  WriteConfig(WriteSample(3));
  WriteLinksPage();
  Start();
  ASSERT_TRUE(Navigate([&] { Parts(*Form).PageView->load(QUrl(QStringLiteral("movie://localhost/links.html"))); }));
  ClickElement("web");
  ASSERT_TRUE(WaitUntil([&] { return Desktop->Opened.size() == 1; }));
  EXPECT_EQ(Desktop->Opened[0], QUrl(QStringLiteral("http://www.example.com/x")));
  ClickElement("mail");
  ASSERT_TRUE(WaitUntil([&] { return Desktop->Opened.size() == 2; }));
  EXPECT_EQ(Desktop->Opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(PageUrl(), "movie://localhost/links.html");
  // "movie" links stay in the view.
  ClickElement("inside");
  EXPECT_TRUE(WaitUntil([&] { return PageUrl() == "movie://localhost/movie[1].html"; })) << PageUrl();
  EXPECT_EQ(Desktop->Opened.size(), 2u);
}

TEST_F(WebView, ScriptsCannotSendTheViewOrTheDesktopAnywhere) {
  WriteConfig(WriteSample(3));
  WriteLinksPage();
  Start();
  ASSERT_TRUE(Navigate([&] { Parts(*Form).PageView->load(QUrl(QStringLiteral("movie://localhost/links.html"))); }));
  RunScript(QStringLiteral("document.getElementById('web').click(); location.href = 'http://www.example.com/y';"
                           "window.open('http://www.example.com/z'); 1"));
  // The page stays, and nothing was handed to the desktop.
  RunScript(QStringLiteral("1"));
  QTest::qWait(50);
  EXPECT_EQ(PageUrl(), "movie://localhost/links.html");
  EXPECT_TRUE(Desktop->Opened.empty());
}

TEST_F(WebView, TimingHookWritesItsLines) {
  WriteConfig(WriteSample(5));
  Start();
  ASSERT_TRUE(TimingLog::Enabled());
  std::string log = "\n" + ReadFileBytes(qgetenv("ELK_TIMING").toStdString());
  for (const char* line : {"window-shown ", "navigate ", "page ", "strip-filled "}) {
    EXPECT_NE(log.find(std::string("\n") + line), std::string::npos) << line << " in\n" << log;
  }
  EXPECT_NE(log.find(" movie://localhost/movie["), std::string::npos);
}

TEST_F(WebView, ScriptsInACatalogReadNothingAndOpenNothing) {
  Folder.Write("secret.txt", "not for pages");
  std::vector<TMovie> movies = Movies(TestMovie(1, "Harmless"));
  TMovie& m = movies[0];
  // Every script reports what it managed in the document's attributes.
  m.OriginalTitle =
      "<script>function note(k,v){document.documentElement.setAttribute('data-'+k,v);}"
      "fetch('Config.ini').then(r=>r.text()).then(t=>note('config',t)).catch(()=>note('config','refused'));"
      "fetch('file:///etc/hostname').then(r=>r.text()).then(t=>note('file',t)).catch(()=>note('file','refused'));"
      "var x=new XMLHttpRequest();try{x.open('GET','file:///etc/hostname',false);x.send();note('xhr',x.responseText);}"
      "catch(e){note('xhr','refused');}</script>Title";
  m.Description = "<script>window.open('http://www.example.com/popup');</script>";
  m.Comments = "<script>setTimeout(function(){location.href='http://www.example.com/away';},0);</script>";
  m.Actors = "<iframe src='file:///etc/hostname'></iframe><img src='file:///etc/hostname'>";
  WriteTestCatalog(Folder.File("Hostile.qzt"), "Mallory", movies);
  WriteConfig(Folder.File("Hostile.qzt"));
  Folder.Write("Config.ini", Folder.Read("Config.ini") + "Path=" + std::string("scrambled-secret") + "\r\n");
  Start();
  const std::string page = PageUrl();
  auto attribute = [&](const char* name) {
    return RunScript(QStringLiteral("document.documentElement.getAttribute('data-%1')").arg(QLatin1String(name))).toString();
  };
  ASSERT_TRUE(WaitUntil([&] { return !attribute("config").isEmpty() && !attribute("file").isEmpty(); }, 10000));
  EXPECT_EQ(attribute("config"), QStringLiteral("refused"));
  EXPECT_EQ(attribute("file"), QStringLiteral("refused"));
  EXPECT_EQ(attribute("xhr"), QStringLiteral("refused"));
  // Give the scripts' navigations their chance; the view stays, nothing opens.
  RunScript(QStringLiteral("1"));
  QTest::qWait(100);
  EXPECT_EQ(PageUrl(), page);
  EXPECT_TRUE(Desktop->Opened.empty());
  EXPECT_FALSE(PageHtml().contains(QStringLiteral("scrambled-secret")));
}
