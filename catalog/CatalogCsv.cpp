#include "catalog/CatalogCsv.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TextEncoding.h"
#include "config/TViewerError.h"

#include <cstdio>

namespace {

std::string Quoted(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string IsoDate(std::int32_t dayNumber) {
  int year = 0, month = 0, day = 0;
  if (dayNumber <= 0 || !DecodeDayNumber(dayNumber, year, month, day)) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string Value(const TMovie& movie, const TMovieField& field) {
  if (const std::string* text = FieldText(movie, field)) return Quoted(Cp1252ToUtf8(*text));
  if (field.Kind == TFieldKind::Checked) return movie.Checked ? "true" : "false";
  const std::int32_t number = FieldNumber(movie, field);
  return field.Kind == TFieldKind::Date ? IsoDate(number) : std::to_string(number);
}

}  // namespace

std::vector<const TMovieField*> RecordFields() {
  std::vector<const TMovieField*> fields;
  for (const TMovieField& field : MovieFields()) {
    if (field.Kind != TFieldKind::Derived) fields.push_back(&field);
  }
  return fields;
}

std::vector<const TMovieField*> ChooseRecordFields(const std::string& commaList) {
  if (commaList.empty()) return RecordFields();
  std::vector<const TMovieField*> fields;
  std::size_t start = 0;
  while (start <= commaList.size()) {
    std::size_t end = commaList.find(',', start);
    if (end == std::string::npos) end = commaList.size();
    const std::string name = commaList.substr(start, end - start);
    const TMovieField* field = FindMovieField(name);
    if (field == nullptr || field->Kind == TFieldKind::Derived) throw TViewerError("\"" + name + "\" is no movie field");
    fields.push_back(field);
    start = end + 1;
  }
  return fields;
}

void WriteCatalogCsv(const TMovieList& catalog, const std::vector<const TMovieField*>& fields, bool byteOrderMark,
                     std::ostream& out) {
  if (byteOrderMark) out << "\xEF\xBB\xBF";
  std::string row;
  for (const TMovieField* field : fields) row += (row.empty() ? "" : ",") + std::string(field->Name);
  out << row << "\r\n";
  for (int i = 0; i < catalog.Count(); ++i) {
    row.clear();
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (f > 0) row += ',';
      row += Value(catalog.Items(i), *fields[f]);
    }
    out << row << "\r\n";
  }
}
