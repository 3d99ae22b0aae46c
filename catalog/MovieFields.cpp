#include "catalog/MovieFields.h"

#include <algorithm>

const std::vector<TMovieField>& MovieFields() {
  using M = TMovie;
  using K = TFieldKind;
  static const std::vector<TMovieField> fields = {
      {"Number", K::Number, &M::Number, "$NUMBER", "Number", 18},
      {"Media", K::Text, &M::Media, "$MEDIA", "Media", 17},
      {"MediaType", K::Text, &M::MediaType, "$MEDIATYPE", "Media Type", 16},
      {"Source", K::Text, &M::Source, "$SOURCE", "Source", 26},
      {"Date", K::Date, &M::Date, "$DATE", "Date", 9},
      {"Borrower", K::Text, &M::Borrower, "$BORROWER", "Borrower", 4},
      {"Rating", K::Rating, &M::Rating, "$RATING", "Rating", 23},
      {"OriginalTitle", K::Text, &M::OriginalTitle, "$ORIGINALTITLE", "Title (Original)", 29},
      {"TranslatedTitle", K::Text, &M::TranslatedTitle, "$TRANSLATEDTITLE", "Title (Translated)", 30},
      {"Director", K::Text, &M::Director, "$DIRECTOR", "Director", 11},
      {"Producer", K::Text, &M::Producer, "$PRODUCER", "Producer", 21},
      {"Country", K::Text, &M::Country, "$COUNTRY", "Country", 8},
      {"Category", K::Text, &M::Category, "$CATEGORY", "Category", 5},
      {"Year", K::Number, &M::Year, "$YEAR", "Year", 35},
      {"Length", K::Number, &M::Length, "$LENGTH", "Length (Minutes)", 15},
      {"Actors", K::MultilineText, &M::Actors, "$ACTORS", "Actors", 1},
      {"URL", K::Text, &M::URL, "$URL", "URL", 31},
      {"Description", K::MultilineText, &M::Description, "$DESCRIPTION", "Description", 10},
      {"Comments", K::MultilineText, &M::Comments, "$COMMENTS", "Comments", 7},
      {"VideoFormat", K::Text, &M::VideoFormat, "$VIDEOFORMAT", "Video Format", 33},
      {"VideoBitrate", K::Number, &M::VideoBitrate, "$BITRATE", "Video Bitrate", 32},
      {"AudioFormat", K::Text, &M::AudioFormat, "$AUDIOFORMAT", "Audio Format", 3},
      {"AudioBitrate", K::Number, &M::AudioBitrate, "$AUDIOBITRATE", "Audio Bitrate", 2},
      {"Resolution", K::Text, &M::Resolution, "$RESOLUTION", "Resolution", 24},
      {"Framerate", K::Text, &M::Framerate, "$FRAMERATE", "Frame Rate", 13},
      {"Languages", K::Text, &M::Languages, "$LANGUAGES", "Language", 14},
      {"Subtitles", K::Text, &M::Subtitles, "$SUBTITLES", "Subtitles", 27},
      {"Size", K::Text, &M::Size, "$SIZE", "Size (MB)", 25},
      {"Disks", K::Number, &M::Disks, "$DISKS", "Disks", 12},
      {"Checked", K::Checked, &M::Checked, "$CHECKED", "Checked", 6},
      // The picture's file name (or, for an embedded one, its extension).
      {"PictureName", K::Text, &M::PictureName},
      {"Title", K::Derived, {}, "$TITLE", "Title", 28},
      {"Picture", K::Derived, {}, "$PICTURE", "Picture", 19},
      {"SmallPicture", K::Derived, {}, "$SMALLPICTURE", "Small Picture", 20},
      {"RatingImage", K::Derived, {}, "$RATINGIMG", "Rating (Image)", 22},
      {"VideoPath", K::Derived, {}, "$VIDEOPATH", "Video Path", 34},
      {"Link", K::Derived, {}, "$LINK", "Link (in Template List)", 36},
  };
  return fields;
}

const TMovieField* FindMovieField(std::string_view name) {
  const std::vector<TMovieField>& fields = MovieFields();
  auto found = std::find_if(fields.begin(), fields.end(), [&](const TMovieField& f) { return name == f.Name; });
  return found == fields.end() ? nullptr : &*found;
}

const TMovieField* FindPageVariable(std::string_view variable) {
  const std::vector<TMovieField>& fields = MovieFields();
  auto found = std::find_if(fields.begin(), fields.end(),
                            [&](const TMovieField& f) { return f.Variable != nullptr && variable == f.Variable; });
  return found == fields.end() ? nullptr : &*found;
}

bool IsTextField(const TMovieField& field) {
  return (field.Kind == TFieldKind::Text || field.Kind == TFieldKind::MultilineText) && field.Variable != nullptr;
}

const std::string* FieldText(const TMovie& movie, const TMovieField& field) {
  if (auto text = std::get_if<std::string TMovie::*>(&field.Member)) return &(movie.**text);
  return nullptr;
}

std::int32_t FieldNumber(const TMovie& movie, const TMovieField& field) {
  if (auto number = std::get_if<std::int32_t TMovie::*>(&field.Member)) return movie.**number;
  if (auto flag = std::get_if<bool TMovie::*>(&field.Member)) return movie.**flag ? 1 : 0;
  return 0;
}
