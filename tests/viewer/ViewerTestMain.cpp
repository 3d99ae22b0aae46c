// The viewer tests share one application object on the offscreen platform,
// with the web engine. As the superuser the engine starts only without its
// sandbox, so the tests turn it off for themselves.

#include "tests/support/WindowUse.h"
#include "viewer/TViewerApplication.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The timing hook writes where a test can read it back.
  QByteArray timing = QDir::temp().filePath(QStringLiteral("elk-viewer-tests-%1.timing").arg(::getpid())).toUtf8();
  QFile::remove(QString::fromUtf8(timing));
  qputenv("ELK_TIMING", timing);
  // Thumbnails kept between the tests' windows stay in a folder of the run.
  QByteArray cache = QDir::temp().filePath(QStringLiteral("elk-viewer-tests-%1.cache").arg(::getpid())).toUtf8();
  qputenv("XDG_CACHE_HOME", cache);
  PrepareWindowProcess();
  TViewerApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  QFile::remove(QString::fromUtf8(timing));
  QDir(QString::fromUtf8(cache)).removeRecursively();
  return result;
}
