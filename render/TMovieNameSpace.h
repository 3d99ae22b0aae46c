#pragma once

#include "config/ResultCodes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The "movie" URL protocol: one TMovieNameSpace object answers one request.
// Start() asks the registered request callback for the response and keeps
// it; Read() hands it out in pieces. The web view's scheme handler only
// copies the finished response (status, content type, bytes) into its job.

struct TMovieResponse {
  std::string Bytes;
  std::string ContentType;
  // A search's page: how many movies it found.
  std::optional<int> Found = {};
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
  // kOk with the whole response ready, or kObjectNotFound when nothing
  // answered the URL.
  std::int32_t Start(std::u16string_view url);
  // Lets go of the response; kOk.
  std::int32_t Terminate();
  // Copies up to `count` bytes; kFalse once everything was read, else kPending.
  std::int32_t Read(void* buffer, std::uint32_t count, std::uint32_t& read);

  bool DataReady() const { return m_dataReady; }
  std::uint32_t TotalSize() const { return m_totalSize; }
  std::uint32_t BytesRead() const { return m_bytesRead; }
  const std::string& ContentType() const { return m_data.ContentType; }
  // The whole response, for hosts that take it in one piece.
  const std::string& ResponseBytes() const { return m_data.Bytes; }

 private:
  TMovieResponse m_data;
  bool m_dataReady = false;
  std::uint32_t m_bytesRead = 0;
  std::uint32_t m_totalSize = 0;
};
