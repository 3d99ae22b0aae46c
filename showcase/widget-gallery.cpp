// Shows the viewer's own widgets filled with sample data in the main
// window's grey colours, so anyone can look at them and try them.
//
//   widget-gallery [--shots FOLDER]
//
// With --shots each widget is also saved as a PNG picture in FOLDER.

#include "tools/SamplePictures.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TGrid.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr TColor kGrey = RgbColor(0x80, 0x80, 0x80);
constexpr TColor kLightGrey = RgbColor(0xAA, 0xAA, 0xAA);

void GreySideBar(TSideBar& bar) {
  SetMainWindowLook(bar);
  const char* sections[][6] = {{"Category: Drama", "Casablanca", "Harbor Lights", "The Long Winter", "Wild River", nullptr},
                               {"Category: Comedy", "Electric Garden", "Golden Voyage", nullptr},
                               {"Category: Western", "Iron Moon", "Lonely Castle", "Secret Station", nullptr}};
  bar.BeginUpdate();
  for (const auto& section : sections) {
    TSideBarItem& item = bar.Items().Add();
    int count = 0;
    for (int i = 1; i < 6 && section[i] != nullptr; ++i, ++count) item.Items().Add(section[i]);
    item.SetCaption(std::string(section[0]) + " (" + std::to_string(count) + ")");
    item.SetExpanded(true);
  }
  bar.EndUpdate();
  bar.SetItemIndex(0);
  bar.SetSubItemIndex(1);
}

void FillGallery(TCoverStrip& gallery) {
  gallery.Model().ScrollerColor = clBlack;
  gallery.SetColor(kGrey);
  gallery.Model().ShowHint = true;
  gallery.Items().BeginUpdate();
  for (int i = 0; i < 14; ++i) {
    TBitmap cover = DrawSampleCover(i % 4 == 3 ? 150 : 70, 100, static_cast<std::uint32_t>(i + 3));
    gallery.Items().Add(i + 1, "Movie " + std::to_string(i + 1), std::move(cover));
  }
  gallery.Items().EndUpdate();
}

QImage ArrowGlyph(QColor color) {
  QImage glyph(16, 16, QImage::Format_RGB32);
  glyph.fill(QColor(255, 0, 255));  // the corner colour is transparent
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 4 + (y < 8 ? y - 3 : 12 - y); ++x) glyph.setPixelColor(x + 2, y, color);
  }
  return glyph;
}

TCaptionButton* CaptionButton(QWidget* parent, const char* caption, int x, bool glyph) {
  auto* button = new TCaptionButton(parent, caption);
  button->SetCaption(std::string(" ") + caption);
  button->Font = {"Arial", -11, false, clWhite};
  button->SetColor(kGrey);
  button->SetColorBorder(clSilver);
  button->ColorOver = button->ColorDown = kLightGrey;
  button->ColorOverCaption = clWhite;
  if (glyph) button->SetGlyph(ArrowGlyph(Qt::white));
  button->setGeometry(x, 10, 73, 25);
  return button;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Widget gallery"));
  window.setStyleSheet(QStringLiteral("background: #808080"));
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* gallery = new TCoverStrip(&window);
  gallery->setFixedHeight(100);
  FillGallery(*gallery);
  gallery->SetActive(true);
  layout->addWidget(gallery);

  auto* buttons = new QWidget(&window);
  buttons->setFixedHeight(44);
  CaptionButton(buttons, "Open", 5, true);
  CaptionButton(buttons, "Edit", 88, true);
  CaptionButton(buttons, "Settings", 166, false);
  auto* category = new TImageButton(buttons);
  QImage normal(9, 9, QImage::Format_RGB32), over(9, 9, QImage::Format_RGB32);
  normal.fill(Qt::white);
  over.fill(Qt::yellow);
  category->SetBitmap(normal);
  category->SetBitmapOver(over);
  category->SetBitmapUp(over);
  category->move(250, 18);
  layout->addWidget(buttons);

  auto* row = new QWidget(&window);
  auto* rowLayout = new QHBoxLayout(row);
  rowLayout->setContentsMargins(0, 0, 0, 0);
  auto* sideBar = new TSideBar(row);
  sideBar->setFixedWidth(249);
  GreySideBar(*sideBar);
  rowLayout->addWidget(sideBar);
  auto* grid = new TGrid(row);
  grid->setStyleSheet(QStringLiteral("background: white"));
  grid->SetColCount(2);
  grid->Columns()[0].Title = "Find";
  grid->Columns()[0].Width = 180;
  grid->Columns()[1].Title = "Replace with";
  grid->Columns()[1].Width = 213;
  grid->Model().AutoAddRow = true;
  grid->Model().FitToWidth = true;
  grid->SetRowCount(3);
  grid->SetCells(0, 0, "Minutes");
  grid->SetCells(1, 0, "min.");
  grid->SetCells(0, 1, "a&equal;b");
  grid->SetCells(1, 1, "c&equal;d");
  grid->Model().SetCurrentCell(1, 1);
  grid->setFixedSize(417, 401);
  rowLayout->addWidget(grid);
  layout->addWidget(row);
  window.resize(760, 560);
  window.show();

  QStringList args = app.arguments();
  int shots = args.indexOf(QStringLiteral("--shots"));
  if (shots > 0 && shots + 1 < args.size()) {
    QString folder = args[shots + 1];
    QDir().mkpath(folder);
    QTimer::singleShot(300, [&] {
      gallery->grab().save(folder + "/gallery.png");
      buttons->grab().save(folder + "/buttons.png");
      sideBar->grab().save(folder + "/sidebar.png");
      grid->grab().save(folder + "/grid.png");
      window.grab().save(folder + "/widgets.png");
      app.quit();
    });
  }
  return app.exec();
}
