#include "viewer/TPageExports.h"

#include "browse/ExportNames.h"
#include "catalog/CatalogCsv.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/Translation.h"
#include "dialogs/DialogLook.h"
#include "render/MovieAddress.h"
#include "render/StatisticsPage.h"
#include "render/TMovieRequestHandler.h"
#include "viewer/TDesktop.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "viewer/TWindowCommands.h"
#include "widgets/QtBridge.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <fstream>
#include <sys/stat.h>

namespace {

// The user's file creation mask, as the system keeps it for this process
// (read, not set: setting it would change it for every thread meanwhile).
mode_t FileCreationMask() {
  // A file of /proc has no size: read whole, not up to its end.
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("Umask:")) return static_cast<mode_t>(line.mid(6).trimmed().toUInt(nullptr, 8));
    }
  }
  return 022;
}

QString InDocuments(const std::string& name) {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(ToQString(name));
}

// Paper, portrait, with a margin a printer can print.
QPageLayout PaperLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                     QPageLayout::Millimeter);
}

// The web engine writes its PDF files for their owner alone; a saved file
// follows the user's mask as the CSV export does.
void FollowUmask(const QString& path) {
  ::chmod(QFile::encodeName(path).constData(), 0666 & ~FileCreationMask());
}

}  // namespace

TPageExports::TPageExports(QWidget& window, TWebView& view, std::function<const TMovieList&()> catalog)
    : QObject(&window), m_window(window), m_view(view), m_catalog(std::move(catalog)) {
  setObjectName(QStringLiteral("PageExports"));
  AskSaveFile = [this](const QString& caption, const QString& suggested, const QString& filter) -> std::optional<QString> {
    QString path = QFileDialog::getSaveFileName(&m_window, caption, suggested, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
  };
  AskPrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, &m_window);
    return dialog.exec() == QDialog::Accepted;
  };
  QObject::connect(m_view.page(), &QWebEnginePage::pdfPrintingFinished, this, [this](const QString& path, bool ok) {
    if (ok) FollowUmask(path);
    Written(path, ok);
  });
  QObject::connect(&m_view, &QWebEngineView::printFinished, this, [this](bool) { m_printer.reset(); });
}

TPageExports::~TPageExports() = default;

void TPageExports::BindCommands(TWindowCommands& commands) {
  commands.Bind(TWindowCommand::Statistics, [this] { ShowStatistics(); });
  commands.Bind(TWindowCommand::Print, [this] { Print(); });
  commands.Bind(TWindowCommand::SavePdf, [this] { SaveAsPdf(); });
  commands.Bind(TWindowCommand::ExportCsv, [this] { ExportCsv(); });
}

void TPageExports::ShowStatistics() { m_view.load(QUrl(ToQString(StatisticsPageAddress()))); }

std::string TPageExports::PageTitle() const {
  // The viewer's pages rarely have a title of their own (the templates
  // decide): then a movie's page is named after the movie, the statistics
  // after themselves, and lists "Movies".
  std::string title = FromQString(m_view.page()->title());
  const std::string address = m_view.url().toString(QUrl::FullyEncoded).toStdString();
  if (title.empty() || title.rfind("movie", 0) == 0 || title.rfind("localhost", 0) == 0) {
    title.clear();
    const std::vector<std::string> tokens = TokenizeMovieAddress(TMovieRequestHandler::RequestName(address));
    if (!tokens.empty() && tokens[0] == kStatisticsPageName) {
      title = ::Translate("Statistics");
    } else if (tokens.size() == 3 && tokens[0] == "movie") {
      if (std::optional<std::int64_t> handle = ParseHandle(tokens[1])) {
        if (const TMovie* movie = m_catalog().FindByHandle(*handle)) title = GetMovieTitle(*movie, 0);
      }
    }
  }
  return SuggestedFileName(title, ::Translate("Movies"), "");
}


void TPageExports::Print() {
  m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  m_printer->setPageLayout(PaperLayout());
  m_printer->setDocName(ToQString(PageTitle()));
  if (!AskPrinter(*m_printer)) {
    m_printer.reset();
    return;
  }
  // Printing to a PDF file gets the engine's own PDF, its text kept as
  // text, as Save as PDF does: the printer path would draw every page as
  // a picture at the printer's resolution.
  if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
    const QString path = m_printer->outputFileName();
    const QPageLayout layout = m_printer->pageLayout();
    m_printer.reset();
    m_view.page()->printToPdf(path, layout);
    return;
  }
  m_view.print(m_printer.get());
}

void TPageExports::SaveAsPdf() {
  const std::optional<QString> path = AskSaveFile(TranslatedText("Save as PDF"), InDocuments(PageTitle() + ".pdf"),
                                                  QStringLiteral("PDF (*.pdf)"));
  if (path) m_view.page()->printToPdf(*path, PaperLayout());
}

void TPageExports::ExportCsv() {
  const TMovieList& catalog = m_catalog();
  const std::string owner = catalog.Properties().OwnerName;
  const std::optional<QString> path =
      AskSaveFile(TranslatedText("Export as CSV"), InDocuments(SuggestedFileName(owner, "Movies", ".csv")),
                  QStringLiteral("CSV (*.csv)"));
  if (!path) return;
  std::ofstream out(path->toStdString(), std::ios::binary | std::ios::trunc);
  if (out) WriteCatalogCsv(catalog, RecordFields(), true, out);
  out.close();
  Written(*path, static_cast<bool>(out));
}

void TPageExports::Written(const QString& path, bool ok) {
  if (!ok) ShowErrorMessage("Unable to write to " + FromQString(path));
  if (OnWritten) OnWritten(path, ok);
}
