#include "dialogs/TFormSettings.h"

#include "catalog/DisplayRules.h"
#include "catalog/MovieFields.h"
#include "config/AsciiText.h"
#include "config/ColorScheme.h"
#include "config/Overloaded.h"
#include "config/TViewerSettings.h"
#include "dialogs/DialogLook.h"
#include "render/MoviePages.h"
#include "widgets/QtBridge.h"
#include "widgets/TGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <climits>
#include <ctime>
#include <filesystem>
#include <utility>
#include <variant>
#include <vector>

namespace {

constexpr const char* kEqualSign = "&equal;";
constexpr const char* kEnglish = "English";

const char* const kDateFormats[] = {"mm/dd/yyyy", "dd/mm/yyyy", "yyyy/mm/dd", "d mmm yyyy", "d mmmm yyyy"};

// The fields a video path may be kept in: the two that most often hold
// one first, then the other text fields in record order.
std::vector<std::string> VideoFieldChoices() {
  std::vector<std::string> fields = {"Source", "URL"};
  for (const TMovieField& field : MovieFields()) {
    if (IsTextField(field) && std::find(fields.begin(), fields.end(), field.Name) == fields.end()) {
      fields.push_back(field.Name);
    }
  }
  return fields;
}

QString Text(const std::string& cp1252) { return ToQString(cp1252); }

// Today as a day number (day 0 is 30 December 1899), in local time.
std::int32_t TodayDayNumber() {
  using namespace std::chrono;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  const sys_days today = year(local.tm_year + 1900) / (local.tm_mon + 1) / local.tm_mday;
  const sys_days origin = year(1899) / December / 30;
  return static_cast<std::int32_t>((today - origin).count());
}

// The lines of a box, as the templates keep them.
std::vector<std::string> Lines(const QPlainTextEdit& box) {
  std::vector<std::string> lines;
  const QStringList texts = box.toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : texts) lines.push_back(FromQString(line));
  return lines;
}

void SetLines(QPlainTextEdit& box, const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << Text(line);
  box.setPlainText(texts.join(QLatin1Char('\n')));
}

QPlainTextEdit* MakeTemplateBox(QWidget* parent, const char* name) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  QFont font(MapFontName("Lucida Console"));
  font.setPointSize(8);
  box->setFont(font);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return box;
}

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A two-column grid of text pairs that grows a row as the last one is
// filled.
TGrid* MakePairGrid(QWidget* tab, const char* name, const char* leftTitle, int leftWidth, const char* rightTitle,
                        int rightWidth) {
  auto* grid = Named(new TGrid(tab), name);
  grid->SetColCount(2);
  grid->Columns()[0].Title = leftTitle;
  grid->Columns()[0].Width = leftWidth;
  grid->Columns()[1].Title = rightTitle;
  grid->Columns()[1].Width = rightWidth;
  grid->Model().FitToWidth = true;
  grid->Model().AutoAddRow = true;
  grid->SetRowCount(1);
  return grid;
}

// Shows the pairs, one a row, with one empty row when there are none.
void FillPairGrid(TGrid& grid, const std::vector<std::pair<std::string, std::string>>& rows) {
  grid.ClearCells();
  grid.SetRowCount(std::max<int>(1, static_cast<int>(rows.size())));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    grid.SetCells(0, static_cast<int>(i), rows[i].first);
    grid.SetCells(1, static_cast<int>(i), rows[i].second);
  }
}

// The file chooser's first filter: folders and files the user may run.
class TProgramFilter : public QSortFilterProxyModel {
 public:
  bool ProgramsOnly = true;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!ProgramsOnly) return true;
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (files == nullptr) return true;
    return TFormSettings::OfferedAsProgram(files->fileInfo(files->index(row, 0, parent)));
  }
};

std::optional<std::string> RunProgramDialog(QWidget* parent, const std::string& proposed) {
  QFileDialog dialog(parent);
  // Our own dialog: it must filter by permission bits, not by name.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QString programs = QStringLiteral("Executable Files");
  dialog.setNameFilters({programs + QStringLiteral(" (*)"), QStringLiteral("All Files (*)")});
  auto* filter = new TProgramFilter;
  dialog.setProxyModel(filter);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [filter, programs](const QString& chosen) {
    filter->ProgramsOnly = chosen.startsWith(programs);
    filter->invalidate();
  });
  if (!proposed.empty()) dialog.selectFile(Text(proposed));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQString(dialog.selectedFiles().front());
}

void ShowErrorBox(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, QStringLiteral("Error"), message, QMessageBox::Ok);
}


// One control of the General and Security tabs: what it is, its name, its
// text, the setting it shows and sets one to one, and where it goes.
using TControl = std::variant<QCheckBox* TFormSettings::*, QComboBox* TFormSettings::*, QSpinBox* TFormSettings::*,
                              QLineEdit* TFormSettings::*, QToolButton* TFormSettings::*>;

enum class TPlace {
  Labelled,  // the text to the control's left
  Alone,     // a check box with its caption as the text
  Above,     // the text on a line of its own, the control below it
  Beside,    // on the line of the control before it, after the text
};

struct TRow {
  TControl Control;
  const char* Name;
  const char* Text = nullptr;
  const char* Setting = nullptr;
  TPlace Place = TPlace::Labelled;
  // A text after the control, on its line.
  const char* After = nullptr;
  // The control takes the line's width (else the line ends in a stretch).
  bool Fill = false;
  // The row's label, kept under this name (enabled with its control).
  QLabel* TFormSettings::*Label = nullptr;
  const char* LabelName = nullptr;
};

using F = TFormSettings;

const std::vector<TRow>& GeneralRows() {
  static const std::vector<TRow> rows = {
      {&F::ComboLanguages, "ComboLanguages", "Language"},
      {&F::ComboSchemes, "ComboSchemes", "Color Scheme"},
      {&F::ComboTitle, "ComboTitle", "Title in Left Panel"},
      {&F::CheckFullScreen, "CheckFullScreen", "Show in fullscreen", "FullScreen", TPlace::Alone},
      {&F::CheckShowTopImages, "CheckShowTopImages", "Show top images", "ShowTopImages", TPlace::Alone},
      {&F::CheckAutoscroll, "CheckAutoscroll", "Autoscroll top images", "AutoScroll", TPlace::Alone},
      // A label without a buddy shows its "&" as it is.
      {&F::SpinMaxImageWidth, "SpinMaxImageWidth", "Maximum Image Width & Height", "MaxImageWidth", TPlace::Above},
      {&F::SpinMaxImageHeight, "SpinMaxImageHeight", "x", "MaxImageHeight", TPlace::Beside, "Pixels"},
      {&F::ComboDate, "ComboDate", "Date Format", "DateFormat"},
      {&F::EditDateSample, "EditDateSample", "Sample Date"},
      {&F::EditExternalPlayer, "EditExternalPlayer", "External Player (blank = the desktop's default program)",
       "ExternalPlayer", TPlace::Above, nullptr, true},
      {&F::ChoosePlayerButton, "ChoosePlayerButton", nullptr, nullptr, TPlace::Beside},
      {&F::ComboVideoField, "ComboVideoField", "Field used to store video path", "VideoPathField"},
      {&F::CheckLiveReload, "CheckLiveReload", "Reload the catalog when its file changes", "LiveReload", TPlace::Alone},
      {&F::CheckThumbnailCache, "CheckThumbnailCache", "Keep the strip's pictures for a quick reopen", "ThumbnailCache",
       TPlace::Alone},
  };
  return rows;
}

const std::vector<TRow>& SecurityRows() {
  static const std::vector<TRow> rows = {
      {&F::CheckPassword, "CheckPassword", "Enable password protection", "Protected", TPlace::Alone},
      {&F::EditPassword1, "EditPassword1", "Password", "Path", TPlace::Labelled, nullptr, false, &F::LabelPassword1,
       "LabelPassword1"},
      {&F::EditPassword2, "EditPassword2", "Confirm", nullptr, TPlace::Labelled, nullptr, false, &F::LabelPassword2,
       "LabelPassword2"},
      {&F::CheckOpenButton, "CheckOpenButton", "Show \"Open\" button", "ShowOpenButton", TPlace::Alone},
      {&F::CheckEditButton, "CheckEditButton", "Show \"Edit\" button", "ShowEditButton", TPlace::Alone},
      {&F::CheckPlayButton, "CheckPlayButton", "Show \"Play\" button", "ShowPlayButton", TPlace::Alone},
      {&F::CheckSettingsButton, "CheckSettingsButton", "Show \"Settings\" button", "ShowSettingsButton", TPlace::Alone,
       "(use F10 to access \"Settings\")"},
      {&F::CheckSearch, "CheckSearch", "Show \"Search\"", "ShowSearch", TPlace::Alone},
  };
  return rows;
}

// Makes the row's control, keeps it in its member and names it.
QWidget* MakeControl(TFormSettings& form, const TRow& row) {
  const QString text = row.Text == nullptr ? QString() : QString::fromLatin1(row.Text);
  QWidget* made = nullptr;
  std::visit(TOverloaded{
                 [&](QCheckBox* F::*member) { made = form.*member = new QCheckBox(text); },
                 [&](QComboBox* F::*member) {
                   auto* combo = new QComboBox;
                   // A box that shows a setting's text takes any text.
                   combo->setEditable(row.Setting != nullptr);
                   made = form.*member = combo;
                 },
                 [&](QSpinBox* F::*member) { made = form.*member = new QSpinBox; },
                 [&](QLineEdit* F::*member) { made = form.*member = new QLineEdit; },
                 [&](QToolButton* F::*member) { made = form.*member = new QToolButton; },
             },
             row.Control);
  made->setObjectName(QString::fromLatin1(row.Name));
  return made;
}

QWidget* BuildRowTab(TFormSettings& form, const char* name, const std::vector<TRow>& rows) {
  auto* tab = Named(new QWidget, name);
  auto* layout = new QFormLayout(tab);
  layout->setLabelAlignment(Qt::AlignLeft);
  QHBoxLayout* line = nullptr;
  bool lineFilled = false;
  auto endLine = [&] {
    if (line != nullptr && !lineFilled) line->addStretch();
    line = nullptr;
  };
  for (const TRow& row : rows) {
    QWidget* control = MakeControl(form, row);
    const QString text = row.Text == nullptr ? QString() : QString::fromLatin1(row.Text);
    if (row.Place == TPlace::Beside) {
      if (!text.isEmpty()) line->addWidget(new QLabel(text));
      line->addWidget(control);
    } else {
      endLine();
      if (row.Place == TPlace::Labelled) {
        auto* label = new QLabel(text);
        if (row.Label != nullptr) form.*row.Label = Named(label, row.LabelName);
        layout->addRow(label, control);
      } else {
        if (row.Place == TPlace::Above) layout->addRow(new QLabel(text));
        line = new QHBoxLayout;
        lineFilled = row.Fill;
        line->addWidget(control, row.Fill ? 1 : 0);
        layout->addRow(line);
      }
    }
    if (row.After != nullptr) line->addWidget(new QLabel(QString::fromLatin1(row.After)));
  }
  endLine();
  return tab;
}

// Every row that shows a setting one to one, with the setting's field.
template <typename Visit>
void ForEachBoundRow(Visit&& visit) {
  for (const std::vector<TRow>* rows : {&GeneralRows(), &SecurityRows()}) {
    for (const TRow& row : *rows) {
      if (row.Setting != nullptr) visit(row, ConfigSettingField(row.Setting));
    }
  }
}

QWidget* BuildTemplateTab(const char* tabName, const char* caption, const char* buttonName, const char* boxName,
                          QPushButton*& button, QPlainTextEdit*& box) {
  auto* tab = Named(new QWidget, tabName);
  auto* layout = new QVBoxLayout(tab);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QString::fromLatin1(caption)));
  top->addStretch();
  button = Named(new QPushButton(QStringLiteral("Insert Info")), buttonName);
  button->setAutoDefault(false);
  top->addWidget(button);
  layout->addLayout(top);
  box = MakeTemplateBox(tab, boxName);
  layout->addWidget(box, 1);
  return tab;
}

void BuildPairTabs(TFormSettings& form) {
  form.TabUserVars = Named(new QWidget, "TabUserVars");
  auto* userVars = new QVBoxLayout(form.TabUserVars);
  userVars->addWidget(new QLabel(QStringLiteral("User Variables")));
  form.GridUserVars = MakePairGrid(form.TabUserVars, "GridUserVars", "Find", 180, "Replace with", 213);
  userVars->addWidget(form.GridUserVars, 1);
  form.Tabs->addTab(form.TabUserVars, QStringLiteral("User Vars"));

  // Paths written on another machine.
  form.TabPaths = Named(new QWidget, "TabPaths");
  auto* paths = new QVBoxLayout(form.TabPaths);
  auto* pathsNote = new QLabel(QStringLiteral(
      "Pictures and video files named by paths of another machine (\"C:\\Covers\\\" or "
      "\"\\\\nas\\movies\\\") are looked for here instead: the first rule whose start "
      "matches (letter case ignored) replaces it; backslashes become \"/\"."));
  pathsNote->setWordWrap(true);
  paths->addWidget(pathsNote);
  form.GridPathMap = MakePairGrid(form.TabPaths, "GridPathMap", "Path starting with", 196, "Is found here at", 197);
  paths->addWidget(form.GridPathMap, 1);
  auto* check = new QHBoxLayout;
  form.LabelPathCounts = Named(new QLabel, "LabelPathCounts");
  form.LabelPathCounts->setWordWrap(true);
  form.CheckPathsButton = Named(new QPushButton(QStringLiteral("Check")), "CheckPathsButton");
  form.CheckPathsButton->setAutoDefault(false);
  check->addWidget(form.LabelPathCounts, 1);
  check->addWidget(form.CheckPathsButton, 0, Qt::AlignTop);
  paths->addLayout(check);
  form.Tabs->addTab(form.TabPaths, QStringLiteral("Paths"));
}

void BuildAboutTab(TFormSettings& form) {
  form.TabAbout = Named(new QWidget, "TabAbout");
  auto* about = new QVBoxLayout(form.TabAbout);
  auto* icon = new QLabel;
  icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  about->addStretch();
  about->addWidget(icon);
  form.LabelAbout = Named(new QLabel, "LabelAbout");
  form.LabelAbout->setAlignment(Qt::AlignCenter);
  form.LabelAbout->setWordWrap(true);
  form.LabelAbout->setText(QStringLiteral("<p><b style='font-size:14pt'>Elk Movie Catalog Viewer</b></p>"
                                          "<p>Version %1</p>"
                                          "<p>Shows movie catalogs (.qzt) written by a catalog editor. "
                                          "It reads catalogs and never changes them.</p>"
                                          "<p>You may use this program and give it to others free of charge, "
                                          "unchanged and with this notice. It comes without any warranty.</p>")
                               .arg(QStringLiteral(ELK_VERSION)));
  about->addWidget(form.LabelAbout);
  about->addStretch();
  form.Tabs->addTab(form.TabAbout, QStringLiteral("About"));
}

}  // namespace

const std::vector<std::pair<const char*, const char*>>& TFormSettings::InsertInfoItems() {
  static const std::vector<std::pair<const char*, const char*>> items = [] {
    std::vector<const TMovieField*> shown;
    for (const TMovieField& field : MovieFields()) {
      if (field.MenuPosition > 0) shown.push_back(&field);
    }
    std::sort(shown.begin(), shown.end(),
              [](const TMovieField* a, const TMovieField* b) { return a->MenuPosition < b->MenuPosition; });
    std::vector<std::pair<const char*, const char*>> menu;
    for (const TMovieField* field : shown) menu.emplace_back(field->Caption, field->Variable);
    return menu;
  }();
  return items;
}

bool TFormSettings::OfferedAsProgram(const QFileInfo& file) { return file.isDir() || (file.isFile() && file.isExecutable()); }

TFormSettings::TFormSettings(QWidget* parent, TSettingsOwner& owner)
    : QDialog(parent), ChooseFile(RunProgramDialog), ErrorBox(ShowErrorBox), m_owner(owner) {
  setObjectName(QStringLiteral("FormSettings"));
  setWindowTitle(QStringLiteral("Settings"));
  MakeFixedDialog(*this, 457, 526);

  Tabs = Named(new QTabWidget(this), "Tabs");
  Tabs->setGeometry(8, 8, 441, 470);
  // All six tabs in one row without scroll arrows.
  Tabs->setUsesScrollButtons(false);
  Tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));

  TabGeneral = BuildRowTab(*this, "TabGeneral", GeneralRows());
  Tabs->addTab(TabGeneral, QStringLiteral("General"));
  TabSecurity = BuildRowTab(*this, "TabSecurity", SecurityRows());
  Tabs->addTab(TabSecurity, QStringLiteral("Security"));
  // The rows' extras: bounds, list entries, the player chooser's look.
  for (QSpinBox* spin : {SpinMaxImageWidth, SpinMaxImageHeight}) {
    // No bounds, as the settings have none.
    spin->setRange(INT_MIN, INT_MAX);
    spin->setSingleStep(1);
  }
  ComboTitle->addItems({QStringLiteral("Original Title"), QStringLiteral("Translated Title")});
  for (const char* format : kDateFormats) ComboDate->addItem(QString::fromLatin1(format));
  for (const std::string& field : VideoFieldChoices()) ComboVideoField->addItem(QString::fromStdString(field));
  EditDateSample->setReadOnly(true);
  ChoosePlayerButton->setAutoRaise(true);
  ChoosePlayerButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  for (QLineEdit* edit : {EditPassword1, EditPassword2}) edit->setEchoMode(QLineEdit::Password);

  TabTemplate = BuildTemplateTab("TabTemplate", "Template (HTML fragment)", "InsertInfoButton", "MemoTemplate", InsertInfoButton,
                                 MemoTemplate);
  Tabs->addTab(TabTemplate, QStringLiteral("Template"));
  TabListTemplate = BuildTemplateTab("TabListTemplate", "List Template (HTML fragment)", "ListInsertInfoButton",
                                     "MemoListTemplate", ListInsertInfoButton, MemoListTemplate);
  Tabs->addTab(TabListTemplate, QStringLiteral("List Template"));
  BuildPairTabs(*this);
  BuildAboutTab(*this);

  struct TButton {
    QPushButton* TFormSettings::*Member;
    const char* Name;
    const char* Caption;
    int Left;
  };
  for (const TButton& button : {TButton{&TFormSettings::ApplyButton, "ApplyButton", "&Apply", 212},
                                TButton{&TFormSettings::OkButton, "OkButton", "&OK", 293},
                                TButton{&TFormSettings::CancelButton, "CancelButton", "&Cancel", 374}}) {
    this->*button.Member = Named(new QPushButton(QString::fromLatin1(button.Caption), this), button.Name);
    (this->*button.Member)->setGeometry(button.Left, 490, 75, 25);
    (this->*button.Member)->setAutoDefault(false);
  }
  OkButton->setDefault(true);

  QObject::connect(ApplyButton, &QPushButton::clicked, this, [this] { Apply(); });
  QObject::connect(OkButton, &QPushButton::clicked, this, [this] { Confirm(); });
  QObject::connect(CancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
  QObject::connect(CheckPassword, &QCheckBox::clicked, this, [this] { EnablePasswordFields(); });
  QObject::connect(ComboDate, &QComboBox::editTextChanged, this, [this] { ShowDateSample(); });
  QObject::connect(ChoosePlayerButton, &QToolButton::clicked, this, [this] { ChoosePlayer(); });
  QObject::connect(InsertInfoButton, &QPushButton::clicked, this, [this] { OfferInsertInfo(); });
  QObject::connect(ListInsertInfoButton, &QPushButton::clicked, this, [this] { OfferListInsertInfo(); });
  QObject::connect(CheckPathsButton, &QPushButton::clicked, this, [this] { CheckPaths(); });
  MakeInsertInfoMenu();
}

void TFormSettings::MakeInsertInfoMenu() {
  InsertInfoMenu = new QMenu(this);
  InsertInfoMenu->setObjectName(QStringLiteral("InsertInfoMenu"));
  for (const auto& [caption, variable] : InsertInfoItems()) {
    QString text = QString::fromLatin1(variable);
    QObject::connect(InsertInfoMenu->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
                     [this, text] { InsertVariable(text); });
  }
}

void TFormSettings::ShowModal() { exec(); }

void TFormSettings::showEvent(QShowEvent* event) {
  PrepareToShow();
  QDialog::showEvent(event);
}

void TFormSettings::PrepareToShow() {
  const TViewerSettings& s = m_owner.Settings();
  const std::filesystem::path folder(m_owner.SettingsProgramFolder());

  ComboSchemes->clear();
  int scheme = -1;
  for (const std::string& name : TSchemeFile(folder.string()).Names()) {
    ComboSchemes->addItem(Text(name));
    if (scheme < 0 && SameTextAscii(name, s.ColorScheme)) scheme = ComboSchemes->count() - 1;
  }
  ComboSchemes->setCurrentIndex(scheme);

  ComboLanguages->clear();
  std::vector<std::string> languages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == ".lng" && path.stem() != "." && !path.stem().empty()) languages.push_back(path.stem().string());
  }
  std::sort(languages.begin(), languages.end(),
            [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });
  // English, the program's own texts, needs no file and is always there
  // to go back to.
  std::erase_if(languages, [](const std::string& language) { return SameTextAscii(language, kEnglish); });
  languages.insert(languages.begin(), kEnglish);
  int chosen = -1;
  for (const std::string& language : languages) {
    ComboLanguages->addItem(Text(language));
    // An empty setting (kept by earlier versions) is English too.
    if (SameTextAscii(language, s.Language.empty() ? kEnglish : s.Language)) chosen = ComboLanguages->count() - 1;
  }
  // Adding the first entry selects it; none is chosen unless it matches.
  ComboLanguages->setCurrentIndex(chosen);

  ComboTitle->setCurrentIndex(s.TitleType >= 0 && s.TitleType < ComboTitle->count() ? s.TitleType : -1);
  ForEachBoundRow([&](const TRow& row, const TSettingField& field) {
    std::visit(TOverloaded{
                   [&](QCheckBox* F::*box) { (this->*box)->setChecked(s.*std::get<bool TViewerSettings::*>(field.Member)); },
                   [&](QComboBox* F::*box) { (this->*box)->setEditText(Text(s.*std::get<std::string TViewerSettings::*>(field.Member))); },
                   [&](QSpinBox* F::*box) { (this->*box)->setValue(s.*std::get<int TViewerSettings::*>(field.Member)); },
                   [&](QLineEdit* F::*box) { (this->*box)->setText(Text(s.*std::get<std::string TViewerSettings::*>(field.Member))); },
                   [&](QToolButton* F::*) {},
               },
               row.Control);
  });
  EditPassword2->setText(Text(s.Password));
  EnablePasswordFields();
  ShowDateSample();

  SetLines(*MemoTemplate, s.Template);
  SetLines(*MemoListTemplate, s.ListTemplate);

  std::vector<std::pair<std::string, std::string>> vars;
  for (const auto& entry : s.UserVars.Entries()) {
    std::string name = entry.Name, value = entry.Value;
    ReplaceAll(name, kEqualSign, "=");
    ReplaceAll(value, kEqualSign, "=");
    vars.emplace_back(std::move(name), std::move(value));
  }
  FillPairGrid(*GridUserVars, vars);

  std::vector<std::pair<std::string, std::string>> rules;
  for (const TPathRule& rule : s.PathMap) rules.emplace_back(rule.From, rule.To);
  FillPairGrid(*GridPathMap, rules);
  CheckPaths();
}

TPathMap TFormSettings::GridPathRules() const {
  TPathMap rules;
  for (int row = 0; row < GridPathMap->RowCount(); ++row) {
    std::string from = GridPathMap->Cells(0, row);
    if (!from.empty()) rules.push_back({from, GridPathMap->Cells(1, row)});
  }
  return rules;
}

void TFormSettings::CheckPaths() {
  const TPathCounts counts = m_owner.CountPaths(GridPathRules());
  QString text = QStringLiteral("Linked pictures found: %1 of %3 as stored, %2 of %3 with these rules.")
                     .arg(counts.PicturesFound)
                     .arg(counts.PicturesFoundMapped)
                     .arg(counts.LinkedPictures);
  text += QLatin1Char('\n') + QStringLiteral("Video files found: %1 of %3 as stored, %2 of %3 with these rules.")
                                  .arg(counts.VideosFound)
                                  .arg(counts.VideosFoundMapped)
                                  .arg(counts.VideoPaths);
  if (counts.VideoAddresses > 0) {
    text += QStringLiteral(" (%1 web addresses are not files.)").arg(counts.VideoAddresses);
  }
  LabelPathCounts->setText(text);
}

void TFormSettings::Apply() {
  const TViewerSettings before = m_owner.Settings();
  TViewerSettings& s = m_owner.Settings();
  s.TitleType = ComboTitle->currentIndex();
  s.ColorScheme = ComboSchemes->currentIndex() < 0 ? std::string() : FromQString(ComboSchemes->currentText());
  s.Language = ComboLanguages->currentIndex() < 0 ? std::string() : FromQString(ComboLanguages->currentText());
  ForEachBoundRow([&](const TRow& row, const TSettingField& field) {
    std::visit(TOverloaded{
                   [&](QCheckBox* F::*box) { s.*std::get<bool TViewerSettings::*>(field.Member) = (this->*box)->isChecked(); },
                   [&](QComboBox* F::*box) {
                     s.*std::get<std::string TViewerSettings::*>(field.Member) = FromQString((this->*box)->currentText());
                   },
                   [&](QSpinBox* F::*box) {
                     // A box whose text is no whole number counts as 0.
                     bool ok = false;
                     const int value = (this->*box)->cleanText().toInt(&ok);
                     s.*std::get<int TViewerSettings::*>(field.Member) = ok ? value : 0;
                   },
                   [&](QLineEdit* F::*box) {
                     s.*std::get<std::string TViewerSettings::*>(field.Member) = FromQString((this->*box)->text());
                   },
                   [&](QToolButton* F::*) {},
               },
               row.Control);
  });
  s.PathMap = GridPathRules();
  s.Template = Lines(*MemoTemplate);
  s.ListTemplate = Lines(*MemoListTemplate);

  s.UserVars.Clear();
  for (int row = 0; row < GridUserVars->RowCount(); ++row) {
    std::string find = GridUserVars->Cells(0, row), replacement = GridUserVars->Cells(1, row);
    ReplaceAll(find, "=", kEqualSign);
    ReplaceAll(replacement, "=", kEqualSign);
    if (!find.empty()) s.UserVars.Set(find, replacement);
  }

  m_owner.ApplySettings(before);
  // The main window may have changed its size or border under the dialog.
  raise();
  activateWindow();
}

void TFormSettings::Confirm() {
  if (CheckPassword->isChecked() && EditPassword1->text() != EditPassword2->text()) {
    if (ErrorBox) ErrorBox(this, QStringLiteral("Passwords mismatch."));
    EditPassword1->setFocus();
    return;
  }
  Apply();
  // A failed save leaves the window open, so nothing edited is lost.
  if (!m_owner.SaveSettings()) return;
  accept();
}

void TFormSettings::Cancel() { reject(); }

void TFormSettings::EnablePasswordFields() {
  const bool on = CheckPassword->isChecked();
  for (QWidget* widget : {static_cast<QWidget*>(EditPassword1), static_cast<QWidget*>(EditPassword2),
                          static_cast<QWidget*>(LabelPassword1), static_cast<QWidget*>(LabelPassword2)}) {
    widget->setEnabled(on);
  }
}

void TFormSettings::ShowDateSample() {
  EditDateSample->setText(Text(FormatMovieDate(TodayDayNumber(), FromQString(ComboDate->currentText()))));
}

void TFormSettings::ChoosePlayer() {
  if (!ChooseFile) return;
  if (std::optional<std::string> chosen = ChooseFile(this, FromQString(EditExternalPlayer->text()))) {
    EditExternalPlayer->setText(Text(*chosen));
  }
}

void TFormSettings::OfferInsertInfo() {
  m_insertTarget = 0;
  InsertInfoMenu->popup(InsertInfoButton->mapToGlobal(QPoint(0, InsertInfoButton->height())));
}

void TFormSettings::OfferListInsertInfo() {
  m_insertTarget = 1;
  InsertInfoMenu->popup(ListInsertInfoButton->mapToGlobal(QPoint(0, ListInsertInfoButton->height())));
}

void TFormSettings::InsertVariable(const QString& variable) {
  QPlainTextEdit* box = m_insertTarget == 0 ? MemoTemplate : MemoListTemplate;
  box->insertPlainText(variable);
  box->setFocus();
}
