#include "tools/TCatalogWriter.h"

#include "config/TViewerError.h"

#include <fstream>

void TCatalogWriter::WriteInt32(std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                   static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
  m_bytes.append(bytes, 4);
}

void TCatalogWriter::WriteString(const std::string& text) {
  WriteInt32(static_cast<std::int32_t>(text.size()));
  m_bytes += text;
}

void TCatalogWriter::WriteBytes(const void* data, std::size_t size) {
  m_bytes.append(static_cast<const char*>(data), size);
}

void TCatalogWriter::WriteHeader(const TMovieProperties& properties) {
  m_bytes += CatalogSignature(m_version);
  WriteString(properties.OwnerName);
  WriteString(properties.HeaderText1);
  if (m_version != TFormatVersion::V35) WriteString("");
  WriteString(properties.HeaderText2);
  WriteString(properties.HeaderText3);
}

void TCatalogWriter::WriteMovie(const TMovie& m) {
  WriteInt32(m.Number);
  WriteInt32(m.Date);
  WriteInt32(m_version == TFormatVersion::V35 || m.Rating == -1 ? m.Rating : m.Rating / 10);
  WriteInt32(m.Year);
  WriteInt32(m.Length);
  WriteInt32(m.VideoBitrate);
  WriteInt32(m.AudioBitrate);
  WriteInt32(m.Disks);
  m_bytes += static_cast<char>(m.Checked ? 1 : 0);
  WriteString(m.Media);
  if (m_version != TFormatVersion::V31) {
    WriteString(m.MediaType);
    WriteString(m.Source);
  }
  for (const std::string* text :
       {&m.Borrower, &m.OriginalTitle, &m.TranslatedTitle, &m.Director, &m.Producer, &m.Country, &m.Category,
        &m.Actors, &m.URL, &m.Description, &m.Comments, &m.VideoFormat, &m.AudioFormat, &m.Resolution,
        &m.Framerate, &m.Languages, &m.Subtitles, &m.Size, &m.PictureName}) {
    WriteString(*text);
  }
  TPictureData picture = m.Picture ? m.Picture->Read() : TPictureData();
  if (!picture.Empty()) {
    WriteInt32(static_cast<std::int32_t>(picture.Bytes().size()));
    WriteBytes(picture.Bytes().data(), picture.Bytes().size());
  } else {
    WriteInt32(0);
  }
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw TViewerError(FormatMessage("Unable to write to %s", path));
}
