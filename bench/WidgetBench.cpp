// Repaint cost of the side bar and the picture strip on large contents,
// painted offscreen into an image the size of the main window's widgets.
//
//   bench_widgets

#include "BenchUtil.h"

#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Median and worst time of `body` followed by a full repaint of `widget`.
template <typename Body>
void Measure(const char* name, QWidget& widget, int rounds, Body body) {
  QImage target(widget.size(), QImage::Format_RGB32);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    body();
    auto start = std::chrono::steady_clock::now();
    widget.render(&target);
    times.push_back(SecondsSince(start));
  }
  std::sort(times.begin(), times.end());
  std::printf("%-46s median %.2f ms, worst %.2f ms\n", name, times[times.size() / 2] * 1000, times.back() * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  TSideBar sideBar;
  sideBar.resize(249, 700);
  sideBar.Model().SetAlwaysExpand(false);
  sideBar.BeginUpdate();
  for (int s = 0; s < 200; ++s) {
    TSideBarItem& section = sideBar.Items().Add();
    section.SetCaption("Section " + std::to_string(s) + " (99)");
    for (int i = 0; i < 99; ++i) section.Items().Add("A movie title number " + std::to_string(i));
  }
  sideBar.EndUpdate();
  sideBar.show();
  std::printf("side bar: %zu rows\n", sideBar.Model().Rows().size());
  Measure("side bar repaint after one wheel notch", sideBar, 2000, [&] { sideBar.Model().Wheel(-120); });
  Measure("side bar repaint after Page Down", sideBar, 400, [&] { sideBar.Model().PageDown(); });

  TCoverStrip gallery;
  gallery.resize(1024, 100);
  gallery.Items().BeginUpdate();
  TBitmap picture(66, 100);
  std::fill(picture.Pixels.begin(), picture.Pixels.end(), 200);
  for (int i = 0; i < 5000; ++i) gallery.Items().Add(i, "Movie", picture);
  gallery.Items().EndUpdate();
  gallery.show();
  std::printf("strip: %d pictures, %d pixels long\n", gallery.Items().Count(), gallery.Model().MaxScroll() + 1024);
  gallery.SetActive(true);
  gallery.Timer().stop();  // ticks are driven here, not by the clock
  Measure("strip repaint after one timer tick", gallery, 2000, [&] { gallery.Model().TimerTick(); });
  Measure("strip repaint after a scroll button press", gallery, 400, [&] {
    const TRect& right = gallery.Model().RightRect();
    gallery.Model().MouseDown(right.Left + 5, right.Top + 12);
  });
  return 0;
}
