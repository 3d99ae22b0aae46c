#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QPrinter;
class QWidget;
class TMovieList;
class TWebView;
class TWindowCommands;

// The collection as a whole and the page taken elsewhere: the statistics
// page, printing the page shown, saving it as PDF and exporting the catalog
// as CSV; the window's commands run them. Pages print in black on white
// whatever the scheme.
class TPageExports : public QObject {
 public:
  TPageExports(QWidget& window, TWebView& view, std::function<const TMovieList&()> catalog);
  ~TPageExports() override;

  // The statistics, printing, PDF and CSV commands run these.
  void BindCommands(TWindowCommands& commands);
  void ShowStatistics();
  void Print();
  void SaveAsPdf();
  void ExportCsv();

  // Where the file goes (nothing: cancelled); tests answer instead of the
  // file dialog. Arguments: the caption, the suggested path, the filter.
  std::function<std::optional<QString>(const QString&, const QString&, const QString&)> AskSaveFile;
  // Whether to print, the printer set up; tests answer instead of the
  // desktop's print dialog.
  std::function<bool(QPrinter&)> AskPrinter;
  // A file was written (or could not be: `ok` false).
  std::function<void(const QString& path, bool ok)> OnWritten;

 private:
  // The page's title for a file name, "Movies" when it has none.
  std::string PageTitle() const;
  void Written(const QString& path, bool ok);

  QWidget& m_window;
  TWebView& m_view;
  std::function<const TMovieList&()> m_catalog;
  std::unique_ptr<QPrinter> m_printer;
};
