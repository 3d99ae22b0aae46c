#include "ViewerFixture.h"

#include "catalog/TMovieList.h"
#include "viewer/TFormMain.h"
#include "tests/support/WindowParts.h"
#include "viewer/TPageExports.h"
#include "viewer/TWebView.h"

#include <QAction>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <QXmlStreamReader>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class PageExports : public ::testing::Test, public ViewerFixture {
 protected:
  void SetUp() override {
    WriteConfig(WriteSample(20, 31));
    Start();
    Form->Exports().AskSaveFile = [this](const QString&, const QString& suggested, const QString&) {
      Suggested = suggested;
      return std::optional<QString>(QString::fromStdString(Folder.File(Answer)));
    };
    Form->Exports().OnWritten = [this](const QString&, bool ok) { Written = ok ? 1 : 0; };
  }

  QString Suggested;
  std::string Answer;
  int Written = -1;
};

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

}  // namespace

TEST_F(PageExports, StatisticsComeByKeyWithWellFormedChartsWhoseBarsOpenTheirMovies) {
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_I, Qt::ControlModifier); }));
  EXPECT_NE(PageUrl().find("moviestatistics"), std::string::npos);
  const QString html = PageHtml();
  EXPECT_FALSE(html.contains(QStringLiteral("<script")));
  // Every bar is SVG that an XML reader takes whole.
  int bars = 0;
  for (qsizetype at = html.indexOf(QStringLiteral("<svg")); at >= 0; at = html.indexOf(QStringLiteral("<svg"), at + 1)) {
    const qsizetype end = html.indexOf(QStringLiteral("</svg>"), at);
    ASSERT_GT(end, at);
    QXmlStreamReader svg(html.mid(at, end + 6 - at));
    while (!svg.atEnd()) svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    ++bars;
  }
  EXPECT_GT(bars, 9);
  EXPECT_EQ(html.count(QStringLiteral("<h3>")), 9);
  EXPECT_TRUE(PageText().contains(QStringLiteral("Movies by decade")));
  // The first bar of the first chart lists its movies.
  ASSERT_TRUE(Navigate([&] { RunScript(QStringLiteral("document.querySelector('svg a').dispatchEvent(new MouseEvent('click', {bubbles: true}))")); }));
  EXPECT_EQ(PageUrl().rfind("movie://localhost/moviebar[0,0]", 0), 0u) << PageUrl();
  // The mouse finds it next to the sort menus, translated like them.
  const auto* statistics = Form->findChild<QAction*>(QStringLiteral("statisticsCommand"));
  ASSERT_NE(statistics, nullptr);
  EXPECT_TRUE(Parts(*Form).SideBarMenu->actions().contains(statistics));
  EXPECT_EQ(statistics->text(), QStringLiteral("Statistics"));
}

TEST_F(PageExports, APageSavedAsPdfHoldsItsTextOrSaysWhyNot) {
  ASSERT_TRUE(Navigate([&] { Form->Exports().ShowStatistics(); }));
  Answer = "statistics.pdf";
  Form->Exports().SaveAsPdf();
  ASSERT_TRUE(WaitUntil([&] { return Written >= 0; }, 30000));
  EXPECT_EQ(Written, 1);
  // Named after what the page shows.
  EXPECT_TRUE(Suggested.endsWith(QStringLiteral("/Statistics.pdf"))) << Suggested.toStdString();
  const std::string pdf = Folder.File(Answer);
  EXPECT_EQ(Folder.Read(Answer).rfind("%PDF-", 0), 0u);
  const std::string text = Output("pdftotext -q " + pdf + " -");
  EXPECT_NE(text.find("Movies by decade"), std::string::npos) << text.substr(0, 400);
  // A folder that is not there: said, not pretended.
  Answer = "no/such/folder/page.pdf";
  Written = -1;
  Desktop->Errors.clear();
  Form->Exports().SaveAsPdf();
  ASSERT_TRUE(WaitUntil([&] { return Written >= 0; }, 30000));
  EXPECT_EQ(Written, 0);
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].startsWith(QStringLiteral("Unable to write to ")));
}

TEST_F(PageExports, PrintingToAPdfFileKeepsTheTextAndTheUsersFileMode) {
  ASSERT_TRUE(Navigate([&] { Form->Exports().ShowStatistics(); }));
  const std::string pdf = Folder.File("printed.pdf");
  Form->Exports().AskPrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  const mode_t mask = ::umask(027);
  Form->Exports().Print();
  ASSERT_TRUE(WaitUntil([&] { return Written >= 0; }, 30000));
  ::umask(mask);
  EXPECT_EQ(Written, 1);
  struct stat info {};
  ASSERT_EQ(::stat(pdf.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  // Text, not pictures of pages.
  EXPECT_LT(info.st_size, 2 << 20);
  const std::string text = Output("pdftotext -q " + pdf + " -");
  EXPECT_NE(text.find("Movies by decade"), std::string::npos) << text.substr(0, 400);
  EXPECT_EQ(Output("pdfimages -list " + pdf + " | tail -n +3"), "");
  // No page ends with a chart's heading: it goes with its first bar.
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1) {
    std::string page = text.substr(start, end - start);
    while (!page.empty() && (page.back() == '\n' || page.back() == ' ')) page.pop_back();
    const std::string last = page.substr(page.rfind('\n') + 1);
    EXPECT_TRUE(last.rfind("Movies by", 0) != 0 && last.rfind("Most frequent", 0) != 0) << last;
  }
}

TEST_F(PageExports, TheCatalogExportsAsCsvWithAByteOrderMark) {
  Answer = "movies.csv";
  Form->Run(TWindowCommand::ExportCsv);
  EXPECT_EQ(Written, 1);
  const std::string csv = Folder.Read(Answer);
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFNumber,Media,", 0), 0u);
  // The header and one row per movie; texts may hold line breaks.
  EXPECT_GE(std::count(csv.begin(), csv.end(), '\n'), Form->Catalog().Count() + 1);
  EXPECT_TRUE(Suggested.endsWith(QStringLiteral(".csv")));
}
