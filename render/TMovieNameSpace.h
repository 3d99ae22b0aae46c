#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The "movie" URL protocol: one TMovieNameSpace object answers one request.
// Start() asks the registered request callback for the response, keeps it
// and reports it to the sink; Read() hands it out. The browser side only
// copies the finished response (status, content type, bytes) into its job.

namespace MovieStatus {
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t kPending = static_cast<std::int32_t>(0x8000000Au);
constexpr std::int32_t kObjectNotFound = static_cast<std::int32_t>(0x800C0006u);
}  // namespace MovieStatus

// First, last and all data available: the whole response is there at once.
constexpr std::uint32_t kReportAllData = 0x01 | 0x04 | 0x08;

// What the protocol tells the browser about a request in progress.
class TMovieProtocolSink {
 public:
  virtual ~TMovieProtocolSink() = default;
  virtual void ReportData(std::uint32_t flags, std::uint32_t progress, std::uint32_t progressMax) = 0;
  virtual void ReportResult(std::int32_t result, std::uint32_t error, const char* text) = 0;
};

struct TMovieResponse {
  std::string Bytes;
  std::string ContentType;
};

class TMovieNameSpace;

// The request callback: the requesting object, the URL as wide text, the
// response to fill, and Handled (false on entry).
using TMovieRequestEvent =
    std::function<void(TMovieNameSpace& sender, std::u16string_view url, TMovieResponse& response, bool& handled)>;

// Sets the one process-wide callback (replacing any earlier one).
void RegisterMovieNameSpace(TMovieRequestEvent callback);
void UnregisterMovieNameSpace();

class TMovieNameSpace {
 public:
  std::int32_t Start(std::u16string_view url, TMovieProtocolSink* sink);
  std::int32_t Continue() { return MovieStatus::kOk; }
  std::int32_t Abort() { return MovieStatus::kNotImplemented; }
  std::int32_t Terminate();
  std::int32_t Suspend() { return MovieStatus::kNotImplemented; }
  std::int32_t Resume() { return MovieStatus::kNotImplemented; }
  // Copies up to `count` bytes; kFalse once everything was read, else kPending.
  std::int32_t Read(void* buffer, std::uint32_t count, std::uint32_t& read);
  std::int32_t Seek() { return MovieStatus::kNotImplemented; }
  std::int32_t LockRequest() { return MovieStatus::kOk; }
  std::int32_t UnlockRequest() { return MovieStatus::kOk; }

  bool DataReady() const { return m_dataReady; }
  std::uint32_t TotalSize() const { return m_totalSize; }
  std::uint32_t BytesRead() const { return m_bytesRead; }
  const std::string& ContentType() const { return m_data.ContentType; }
  // The whole response, for hosts that take it in one piece.
  const std::string& ResponseBytes() const { return m_data.Bytes; }

 private:
  TMovieResponse m_data;
  TMovieProtocolSink* m_sink = nullptr;
  bool m_dataReady = false;
  std::uint32_t m_bytesRead = 0;
  std::uint32_t m_totalSize = 0;
};
