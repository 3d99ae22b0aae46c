// Pages made on worker threads: a slow page keeps nobody waiting, a page
// nobody waits for stops and answers nothing, and every page keeps the
// snapshot it was asked with.

#include "render/TPageWorkers.h"

#include "RenderFixtures.h"
#include "config/Translation.h"
#include "render/TPageSession.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

// What the workers answered, and a way to wait for it without sleeping.
class TAnswers {
 public:
  TPageWorkers::TAnswer For(const std::string& name) {
    return [this, name](std::optional<TMovieResponse> response) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_order.push_back(name);
      m_bytes[name] = response ? response->Bytes : "not found";
      m_changed.notify_all();
    };
  }
  // False when `name` was not answered within ten seconds.
  bool WaitFor(const std::string& name) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, 10s, [&] { return m_bytes.count(name) > 0; });
  }
  std::vector<std::string> Order() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_order;
  }
  std::string Bytes(const std::string& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes[name];
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_order;
  std::map<std::string, std::string> m_bytes;
};

// A door makers wait at until the test opens it.
class TDoor {
 public:
  void Open() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }
  void Arrive() {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_waiting;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_open; });
  }
  bool WaitForArrivals(int count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, 10s, [&] { return m_waiting >= count; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_open = false;
  int m_waiting = 0;
};

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string Ascii(std::u16string_view wide) { return std::string(wide.begin(), wide.end()); }

}  // namespace

TEST(PageWorkers, ASlowPageDoesNotDelayAQuickOneAskedAfterIt) {
  TDoor door;
  TAnswers answers;
  TPageWorkers workers([&](std::u16string_view url, const TPageSnapshot&, const std::atomic<bool>&) {
    if (url == u"slow") door.Arrive();
    if (url == u"broken") throw std::runtime_error("broken");
    return std::optional<TMovieResponse>(TMovieResponse{Ascii(url), "text/html", std::nullopt});
  });
  auto snapshot = std::make_shared<TPageSnapshot>();
  workers.Request(u"slow", snapshot, answers.For("slow"));
  ASSERT_TRUE(door.WaitForArrivals(1));
  workers.Request(u"quick", snapshot, answers.For("quick"));
  EXPECT_TRUE(answers.WaitFor("quick"));
  door.Open();
  EXPECT_TRUE(answers.WaitFor("slow"));
  EXPECT_EQ(answers.Order(), (std::vector<std::string>{"quick", "slow"}));
  // Whatever a page raises, it is not found, and the workers go on.
  workers.Request(u"broken", snapshot, answers.For("broken"));
  ASSERT_TRUE(answers.WaitFor("broken"));
  EXPECT_EQ(answers.Bytes("broken"), "not found");
}

TEST(PageWorkers, ACancelledPageStopsAndIsNeverAnswered) {
  TDoor door;
  TAnswers answers;
  std::atomic<bool> sawTheCancel{false};
  std::vector<std::string> made;
  std::mutex madeMutex;
  {
    // One thread: the second request waits in the queue behind the first.
    TPageWorkers workers(
        [&](std::u16string_view url, const TPageSnapshot&, const std::atomic<bool>& cancelled) {
          {
            std::lock_guard<std::mutex> lock(madeMutex);
            made.push_back(Ascii(url));
          }
          door.Arrive();
          // A long page looks at the flag as it goes.
          while (!cancelled.load()) std::this_thread::yield();
          sawTheCancel = true;
          return std::optional<TMovieResponse>(TMovieResponse{"half a page", "text/html", std::nullopt});
        },
        1);
    auto snapshot = std::make_shared<TPageSnapshot>();
    std::shared_ptr<TPageTicket> running = workers.Request(u"running", snapshot, answers.For("running"));
    std::shared_ptr<TPageTicket> queued = workers.Request(u"queued", snapshot, answers.For("queued"));
    ASSERT_TRUE(door.WaitForArrivals(1));
    door.Open();
    queued->Cancel();
    running->Cancel();
  }
  EXPECT_TRUE(sawTheCancel);
  EXPECT_EQ(made, std::vector<std::string>{"running"});
  EXPECT_TRUE(answers.Order().empty());
}

TEST(PageWorkers, EveryPageIsMadeFromTheSnapshotItWasAskedWith) {
  TTestFolder folder;
  TPageSession session(folder.Path());
  std::vector<TMovie> movies(2);
  movies[0].OriginalTitle = "Alien";
  movies[1].OriginalTitle = "Brazil";
  TMovieList catalog;
  LoadMovies(catalog, movies);
  const std::string handle = std::to_string(catalog.Items(0).Handle);
  session.TakeCatalog(catalog, folder.File("x.qzt"));

  GlobalTranslationTable().Clear();
  GlobalTranslationTable().Insert("No", "Nein");
  GlobalTranslationTable().SetActive(true);
  session.Settings().Template = {"A $TITLE $CHECKED"};
  session.Publish();
  const std::shared_ptr<const TPageSnapshot> first = session.Snapshot();

  TDoor door;
  TAnswers answers;
  const TPageWorkers::TMaker answer = TPageWorkers::HandlerMaker(session.Handler());
  TPageWorkers workers([&](std::u16string_view url, const TPageSnapshot& snapshot, const std::atomic<bool>& cancelled) {
    door.Arrive();
    return answer(url, snapshot, cancelled);
  });
  const std::u16string page = Wide("movie://localhost/movie[" + handle + "].html");
  workers.Request(page, session.Snapshot(), answers.For("before"));
  ASSERT_TRUE(door.WaitForArrivals(1));
  // Settings and language change while the first page is being made.
  GlobalTranslationTable().Clear();
  session.Settings().Template = {"B $TITLE $CHECKED"};
  session.Publish();
  workers.Request(page, session.Snapshot(), answers.For("after"));
  ASSERT_TRUE(door.WaitForArrivals(2));
  door.Open();
  ASSERT_TRUE(answers.WaitFor("before"));
  ASSERT_TRUE(answers.WaitFor("after"));
  EXPECT_EQ(answers.Bytes("before"), "A Alien Nein\r\n");
  EXPECT_EQ(answers.Bytes("after"), "B Alien No\r\n");
  EXPECT_EQ(first->Settings.Template, std::vector<std::string>{"A $TITLE $CHECKED"});
}
