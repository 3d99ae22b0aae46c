#include "tests/support/RunEvents.h"

#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& done, int milliseconds) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check, limit;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  check.start(1);
  limit.setSingleShot(true);
  limit.start(milliseconds);
  loop.exec();
  return done();
}
