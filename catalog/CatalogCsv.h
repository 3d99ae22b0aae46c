#pragma once

#include "catalog/MovieFields.h"

#include <ostream>
#include <string>
#include <vector>

class TMovieList;

// The record fields a table of movies has by default, in record order:
// Number, Media, MediaType, Source, Date, Borrower, Rating, OriginalTitle,
// TranslatedTitle, Director, Producer, Country, Category, Year, Length,
// Actors, URL, Description, Comments, VideoFormat, VideoBitrate,
// AudioFormat, AudioBitrate, Resolution, Framerate, Languages, Subtitles,
// Size, Disks, Checked, PictureName.
std::vector<const TMovieField*> RecordFields();

// The record fields named in a comma-separated list (exact spelling, in the
// list's order); an empty list gives RecordFields(). Throws TViewerError
// naming the first name that is no record field.
std::vector<const TMovieField*> ChooseRecordFields(const std::string& commaList);

// The catalog as CSV (RFC 4180) in UTF-8: a header row of the field names,
// then one row per movie; CR LF between rows; a value holding a comma, a
// quote or a line break in quotes, its quotes doubled. Numbers are written
// as the catalog holds them (-1 for none; a rating in tenths), dates as
// ISO 8601 (YYYY-MM-DD, empty for none), Checked as true or false. With
// `byteOrderMark` the text starts with one, as spreadsheets want.
void WriteCatalogCsv(const TMovieList& catalog, const std::vector<const TMovieField*>& fields, bool byteOrderMark,
                     std::ostream& out);
