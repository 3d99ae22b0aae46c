#include "render/TMovieNameSpace.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

std::mutex g_callbackMutex;
TMovieRequestEvent g_onMovieRequest;

}  // namespace

void RegisterMovieNameSpace(TMovieRequestEvent callback) {
  std::lock_guard<std::mutex> lock(g_callbackMutex);
  g_onMovieRequest = std::move(callback);
}

void UnregisterMovieNameSpace() {
  std::lock_guard<std::mutex> lock(g_callbackMutex);
  g_onMovieRequest = nullptr;
}

std::int32_t TMovieNameSpace::Start(std::u16string_view url) {
  m_dataReady = false;
  m_data = TMovieResponse();
  TMovieRequestEvent callback;
  {
    std::lock_guard<std::mutex> lock(g_callbackMutex);
    callback = g_onMovieRequest;
  }
  bool handled = false;
  if (callback) {
    try {
      callback(*this, url, m_data, handled);
    } catch (...) {
      // Nothing raised while answering may reach the browser: the request
      // simply finds nothing.
      handled = false;
    }
  }
  if (!handled || m_data.Bytes.size() > 0xFFFFFFFFu) {
    m_data = TMovieResponse();
    return ResultCode::kObjectNotFound;
  }
  m_bytesRead = 0;
  m_totalSize = static_cast<std::uint32_t>(m_data.Bytes.size());
  m_dataReady = true;
  return ResultCode::kOk;
}

std::int32_t TMovieNameSpace::Read(void* buffer, std::uint32_t count, std::uint32_t& read) {
  read = 0;
  if (m_dataReady) {
    read = std::min(count, m_totalSize - m_bytesRead);
    if (read > 0) std::memcpy(buffer, m_data.Bytes.data() + m_bytesRead, read);
    m_bytesRead += read;
  }
  return m_bytesRead == m_totalSize ? ResultCode::kFalse : ResultCode::kPending;
}

std::int32_t TMovieNameSpace::Terminate() {
  if (m_dataReady) {
    m_data = TMovieResponse();
    m_dataReady = false;
  }
  return ResultCode::kOk;
}
