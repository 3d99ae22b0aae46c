#include "dialogs/TFormSettings.h"

#include "catalog/DisplayRules.h"
#include "config/AsciiText.h"
#include "config/PageFrame.h"
#include "config/SystemScheme.h"
#include "config/TIniFile.h"
#include "config/TViewerSettings.h"
#include "dialogs/DialogLook.h"
#include "render/MoviePages.h"
#include "widgets/QtBridge.h"
#include "widgets/TNiceGrid.h"

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
#include <vector>

namespace {

constexpr const char* kEqualSign = "&equal;";

const char* const kDateFormats[] = {"mm/dd/yyyy", "dd/mm/yyyy", "yyyy/mm/dd", "d mmm yyyy", "d mmmm yyyy"};
const char* const kVideoFields[] = {"Source",  "URL",        "Media",       "MediaType",   "Borrower",  "OriginalTitle",
                                    "TranslatedTitle", "Director", "Producer", "Country", "Category", "Actors",
                                    "Description", "Comments", "VideoFormat", "AudioFormat", "Resolution", "Framerate",
                                    "Languages", "Subtitles", "Size"};

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
TNiceGrid* MakePairGrid(QWidget* tab, const char* name, const char* leftTitle, int leftWidth, const char* rightTitle,
                        int rightWidth) {
  auto* grid = Named(new TNiceGrid(tab), name);
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
void FillPairGrid(TNiceGrid& grid, const std::vector<std::pair<std::string, std::string>>& rows) {
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

}  // namespace

const std::vector<std::pair<const char*, const char*>>& TFormSettings::InsertInfoItems() {
  static const std::vector<std::pair<const char*, const char*>> items = {
      {"Actors", "$ACTORS"},
      {"Audio Bitrate", "$AUDIOBITRATE"},
      {"Audio Format", "$AUDIOFORMAT"},
      {"Borrower", "$BORROWER"},
      {"Category", "$CATEGORY"},
      {"Checked", "$CHECKED"},
      {"Comments", "$COMMENTS"},
      {"Country", "$COUNTRY"},
      {"Date", "$DATE"},
      {"Description", "$DESCRIPTION"},
      {"Director", "$DIRECTOR"},
      {"Disks", "$DISKS"},
      {"Frame Rate", "$FRAMERATE"},
      {"Language", "$LANGUAGES"},
      {"Length (Minutes)", "$LENGTH"},
      {"Media Type", "$MEDIATYPE"},
      {"Media", "$MEDIA"},
      {"Number", "$NUMBER"},
      {"Picture", "$PICTURE"},
      {"Small Picture", "$SMALLPICTURE"},
      {"Producer", "$PRODUCER"},
      {"Rating (Image)", "$RATINGIMG"},
      {"Rating", "$RATING"},
      {"Resolution", "$RESOLUTION"},
      {"Size (MB)", "$SIZE"},
      {"Source", "$SOURCE"},
      {"Subtitles", "$SUBTITLES"},
      {"Title", "$TITLE"},
      {"Title (Original)", "$ORIGINALTITLE"},
      {"Title (Translated)", "$TRANSLATEDTITLE"},
      {"URL", "$URL"},
      {"Video Bitrate", "$BITRATE"},
      {"Video Format", "$VIDEOFORMAT"},
      {"Video Path", "$VIDEOPATH"},
      {"Year", "$YEAR"},
      {"Link (in Template List)", "$LINK"},
  };
  return items;
}

bool TFormSettings::OfferedAsProgram(const QFileInfo& file) { return file.isDir() || (file.isFile() && file.isExecutable()); }

TFormSettings::TFormSettings(QWidget* parent, TSettingsOwner& owner)
    : QDialog(parent), OpenDialog1(RunProgramDialog), ErrorBox(ShowErrorBox), m_owner(owner) {
  setObjectName(QStringLiteral("FormSettings"));
  setWindowTitle(QStringLiteral("Settings"));
  MakeFixedDialog(*this, 457, 526);

  PageControl1 = Named(new QTabWidget(this), "PageControl1");
  PageControl1->setGeometry(8, 8, 441, 470);
  // All six tabs in one row without scroll arrows.
  PageControl1->setUsesScrollButtons(false);
  PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));

  // General.
  TabGeneral = Named(new QWidget, "TabGeneral");
  auto* general = new QFormLayout(TabGeneral);
  general->setLabelAlignment(Qt::AlignLeft);
  ComboLanguages = Named(new QComboBox, "ComboLanguages");
  general->addRow(QStringLiteral("Language"), ComboLanguages);
  ComboSchemes = Named(new QComboBox, "ComboSchemes");
  general->addRow(QStringLiteral("Color Scheme"), ComboSchemes);
  ComboTitle = Named(new QComboBox, "ComboTitle");
  ComboTitle->addItems({QStringLiteral("Original Title"), QStringLiteral("Translated Title")});
  general->addRow(QStringLiteral("Title in Left Panel"), ComboTitle);
  CheckFullScreen = Named(new QCheckBox(QStringLiteral("Show in fullscreen")), "CheckFullScreen");
  general->addRow(CheckFullScreen);
  CheckShowTopImages = Named(new QCheckBox(QStringLiteral("Show top images")), "CheckShowTopImages");
  general->addRow(CheckShowTopImages);
  CheckAutoscroll = Named(new QCheckBox(QStringLiteral("Autoscroll top images")), "CheckAutoscroll");
  general->addRow(CheckAutoscroll);
  auto* sizes = new QHBoxLayout;
  SpinMaxImageWidth = Named(new QSpinBox, "SpinMaxImageWidth");
  SpinMaxImageHeight = Named(new QSpinBox, "SpinMaxImageHeight");
  for (QSpinBox* spin : {SpinMaxImageWidth, SpinMaxImageHeight}) {
    // No bounds, as the settings have none.
    spin->setRange(INT_MIN, INT_MAX);
    spin->setSingleStep(1);
  }
  sizes->addWidget(SpinMaxImageWidth);
  sizes->addWidget(new QLabel(QStringLiteral("x")));
  sizes->addWidget(SpinMaxImageHeight);
  sizes->addWidget(new QLabel(QStringLiteral("Pixels")));
  sizes->addStretch();
  // A label without a buddy shows its "&" as it is.
  general->addRow(new QLabel(QStringLiteral("Maximum Image Width & Height")));
  general->addRow(sizes);
  ComboDate = Named(new QComboBox, "ComboDate");
  ComboDate->setEditable(true);
  for (const char* format : kDateFormats) ComboDate->addItem(QString::fromLatin1(format));
  general->addRow(QStringLiteral("Date Format"), ComboDate);
  EditDateSample = Named(new QLineEdit, "EditDateSample");
  EditDateSample->setReadOnly(true);
  general->addRow(QStringLiteral("Sample Date"), EditDateSample);
  auto* player = new QHBoxLayout;
  EditExternalPlayer = Named(new QLineEdit, "EditExternalPlayer");
  SpeedButton1 = Named(new QToolButton, "SpeedButton1");
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  player->addWidget(EditExternalPlayer);
  player->addWidget(SpeedButton1);
  general->addRow(new QLabel(QStringLiteral("External Player (blank = Windows default player)")));
  general->addRow(player);
  ComboVideoField = Named(new QComboBox, "ComboVideoField");
  ComboVideoField->setEditable(true);
  for (const char* field : kVideoFields) ComboVideoField->addItem(QString::fromLatin1(field));
  general->addRow(QStringLiteral("Field used to store video path"), ComboVideoField);
  CheckLiveReload = Named(new QCheckBox(QStringLiteral("Reload the catalog when its file changes")), "CheckLiveReload");
  general->addRow(CheckLiveReload);
  CheckThumbnailCache = Named(new QCheckBox(QStringLiteral("Keep the strip's pictures for a quick reopen")),
                              "CheckThumbnailCache");
  general->addRow(CheckThumbnailCache);
  PageControl1->addTab(TabGeneral, QStringLiteral("General"));

  // Security.
  TabSecurity = Named(new QWidget, "TabSecurity");
  auto* security = new QGridLayout(TabSecurity);
  CheckPassword = Named(new QCheckBox(QStringLiteral("Enable password protection")), "CheckPassword");
  security->addWidget(CheckPassword, 0, 0, 1, 2);
  LabelPassword1 = Named(new QLabel(QStringLiteral("Password")), "LabelPassword1");
  EditPassword1 = Named(new QLineEdit, "EditPassword1");
  LabelPassword2 = Named(new QLabel(QStringLiteral("Confirm")), "LabelPassword2");
  EditPassword2 = Named(new QLineEdit, "EditPassword2");
  for (QLineEdit* edit : {EditPassword1, EditPassword2}) edit->setEchoMode(QLineEdit::Password);
  security->addWidget(LabelPassword1, 1, 0);
  security->addWidget(EditPassword1, 1, 1);
  security->addWidget(LabelPassword2, 2, 0);
  security->addWidget(EditPassword2, 2, 1);
  CheckBtnOpen = Named(new QCheckBox(QStringLiteral("Show \"Open\" button")), "CheckBtnOpen");
  CheckBtnEdit = Named(new QCheckBox(QStringLiteral("Show \"Edit\" button")), "CheckBtnEdit");
  CheckBtnPlay = Named(new QCheckBox(QStringLiteral("Show \"Play\" button")), "CheckBtnPlay");
  CheckBtnSettings = Named(new QCheckBox(QStringLiteral("Show \"Settings\" button")), "CheckBtnSettings");
  CheckSearch = Named(new QCheckBox(QStringLiteral("Show \"Search\"")), "CheckSearch");
  security->addWidget(CheckBtnOpen, 3, 0, 1, 2);
  security->addWidget(CheckBtnEdit, 4, 0, 1, 2);
  security->addWidget(CheckBtnPlay, 5, 0, 1, 2);
  security->addWidget(CheckBtnSettings, 6, 0);
  security->addWidget(new QLabel(QStringLiteral("(use F10 to access \"Settings\")")), 6, 1);
  security->addWidget(CheckSearch, 7, 0, 1, 2);
  security->setRowStretch(8, 1);
  PageControl1->addTab(TabSecurity, QStringLiteral("Security"));

  // The two templates.
  auto templateTab = [this](const char* tabName, const char* caption, const char* buttonName, const char* boxName,
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
  };
  TabTemplate = templateTab("TabTemplate", "Template (HTML fragment)", "BtnInsert", "MemoTemplate", BtnInsert, MemoTemplate);
  PageControl1->addTab(TabTemplate, QStringLiteral("Template"));
  TabListTemplate = templateTab("TabListTemplate", "List Template (HTML fragment)", "BtnInsert2", "MemoListTemplate",
                                BtnInsert2, MemoListTemplate);
  PageControl1->addTab(TabListTemplate, QStringLiteral("List Template"));

  // User variables.
  TabUserVars = Named(new QWidget, "TabUserVars");
  auto* userVars = new QVBoxLayout(TabUserVars);
  userVars->addWidget(new QLabel(QStringLiteral("User Variables")));
  GridUserVars = MakePairGrid(TabUserVars, "GridUserVars", "Find", 180, "Replace with", 213);
  userVars->addWidget(GridUserVars, 1);
  PageControl1->addTab(TabUserVars, QStringLiteral("User Vars"));

  // Paths written on another machine.
  TabPaths = Named(new QWidget, "TabPaths");
  auto* paths = new QVBoxLayout(TabPaths);
  auto* pathsNote = new QLabel(QStringLiteral(
      "Pictures and video files named by paths of another machine (\"C:\\Covers\\\" or "
      "\"\\\\nas\\movies\\\") are looked for here instead: the first rule whose start "
      "matches (letter case ignored) replaces it; backslashes become \"/\"."));
  pathsNote->setWordWrap(true);
  paths->addWidget(pathsNote);
  GridPathMap = MakePairGrid(TabPaths, "GridPathMap", "Path starting with", 196, "Is found here at", 197);
  paths->addWidget(GridPathMap, 1);
  auto* check = new QHBoxLayout;
  LabelPathCounts = Named(new QLabel, "LabelPathCounts");
  LabelPathCounts->setWordWrap(true);
  BtnCheckPaths = Named(new QPushButton(QStringLiteral("Check")), "BtnCheckPaths");
  BtnCheckPaths->setAutoDefault(false);
  check->addWidget(LabelPathCounts, 1);
  check->addWidget(BtnCheckPaths, 0, Qt::AlignTop);
  paths->addLayout(check);
  PageControl1->addTab(TabPaths, QStringLiteral("Paths"));

  // About.
  TabAbout = Named(new QWidget, "TabAbout");
  auto* about = new QVBoxLayout(TabAbout);
  auto* icon = new QLabel;
  icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  about->addStretch();
  about->addWidget(icon);
  LabelAbout = Named(new QLabel, "LabelAbout");
  LabelAbout->setAlignment(Qt::AlignCenter);
  LabelAbout->setWordWrap(true);
  LabelAbout->setText(QStringLiteral("<p><b style='font-size:14pt'>Elk Movie Catalog Viewer</b></p>"
                                     "<p>Version %1</p>"
                                     "<p>Shows movie catalogs (.qzt) written by a catalog editor. "
                                     "It reads catalogs and never changes them.</p>"
                                     "<p>You may use this program and give it to others free of charge, "
                                     "unchanged and with this notice. It comes without any warranty.</p>")
                          .arg(QStringLiteral(ELK_VERSION)));
  about->addWidget(LabelAbout);
  about->addStretch();
  PageControl1->addTab(TabAbout, QStringLiteral("About"));

  BtnApply = Named(new QPushButton(QStringLiteral("&Apply"), this), "BtnApply");
  BtnOk = Named(new QPushButton(QStringLiteral("&OK"), this), "BtnOk");
  BtnCancel = Named(new QPushButton(QStringLiteral("&Cancel"), this), "BtnCancel");
  BtnApply->setGeometry(212, 490, 75, 25);
  BtnOk->setGeometry(293, 490, 75, 25);
  BtnCancel->setGeometry(374, 490, 75, 25);
  BtnApply->setAutoDefault(false);
  BtnCancel->setAutoDefault(false);
  BtnOk->setDefault(true);

  QObject::connect(BtnApply, &QPushButton::clicked, this, [this] { BtnApplyClick(); });
  QObject::connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
  QObject::connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
  QObject::connect(CheckPassword, &QCheckBox::clicked, this, [this] { CheckPasswordClick(); });
  QObject::connect(ComboDate, &QComboBox::editTextChanged, this, [this] { ComboDateChange(); });
  QObject::connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  QObject::connect(BtnInsert, &QPushButton::clicked, this, [this] { BtnInsertClick(); });
  QObject::connect(BtnInsert2, &QPushButton::clicked, this, [this] { BtnInsert2Click(); });
  QObject::connect(BtnCheckPaths, &QPushButton::clicked, this, [this] { BtnCheckPathsClick(); });
  FormCreate();
}

void TFormSettings::FormCreate() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  for (const auto& [caption, variable] : InsertInfoItems()) {
    QString text = QString::fromLatin1(variable);
    QObject::connect(PopupMenu1->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
                     [this, text] { InsertVariable(text); });
  }
}

void TFormSettings::ShowModal() { exec(); }

void TFormSettings::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFormSettings::FormShow() {
  const TViewerSettings& s = m_owner.Settings();
  const std::filesystem::path folder(m_owner.SettingsProgramFolder());

  ComboSchemes->clear();
  const TIniFile schemes((folder / kSchemesFileName).string());
  const std::vector<std::string> names = schemes.ReadSections();
  for (const std::string& name : names) ComboSchemes->addItem(Text(name));
  // The scheme that follows the desktop is always there to choose.
  if (std::none_of(names.begin(), names.end(), [](const std::string& name) { return IsSystemScheme(name); })) {
    ComboSchemes->addItem(Text(kSystemSchemeName));
  }
  ComboSchemes->setCurrentIndex(-1);
  for (int i = 0; i < ComboSchemes->count(); ++i) {
    if (SameTextAscii(FromQString(ComboSchemes->itemText(i)), s.ColorScheme)) {
      ComboSchemes->setCurrentIndex(i);
      break;
    }
  }

  ComboLanguages->clear();
  std::vector<std::string> languages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == ".lng" && path.stem() != "." && !path.stem().empty()) languages.push_back(path.stem().string());
  }
  std::sort(languages.begin(), languages.end(),
            [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });
  if (languages.empty()) languages.push_back("English");
  ComboLanguages->setCurrentIndex(-1);
  for (const std::string& language : languages) {
    ComboLanguages->addItem(Text(language));
    if (SameTextAscii(language, s.Language)) ComboLanguages->setCurrentIndex(ComboLanguages->count() - 1);
  }
  if (!std::any_of(languages.begin(), languages.end(), [&](const std::string& l) { return SameTextAscii(l, s.Language); })) {
    ComboLanguages->setCurrentIndex(-1);
  }

  ComboTitle->setCurrentIndex(s.TitleType >= 0 && s.TitleType < ComboTitle->count() ? s.TitleType : -1);
  CheckFullScreen->setChecked(s.FullScreen);
  CheckShowTopImages->setChecked(s.ShowTopImages);
  CheckAutoscroll->setChecked(s.AutoScroll);
  SpinMaxImageWidth->setValue(s.MaxImageWidth);
  SpinMaxImageHeight->setValue(s.MaxImageHeight);
  ComboDate->setEditText(Text(s.DateFormat));
  EditExternalPlayer->setText(Text(s.ExternalPlayer));
  ComboVideoField->setEditText(Text(s.VideoPathField));
  CheckLiveReload->setChecked(s.LiveReload);
  CheckThumbnailCache->setChecked(s.ThumbnailCache);
  CheckPassword->setChecked(s.Protected);
  EditPassword1->setText(Text(s.Password));
  EditPassword2->setText(Text(s.Password));
  CheckBtnOpen->setChecked(s.ShowOpenButton);
  CheckBtnEdit->setChecked(s.ShowEditButton);
  CheckBtnPlay->setChecked(s.ShowPlayButton);
  CheckBtnSettings->setChecked(s.ShowSettingsButton);
  CheckSearch->setChecked(s.ShowSearch);
  CheckPasswordClick();
  ComboDateChange();

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
  BtnCheckPathsClick();
}

TPathMap TFormSettings::GridPathRules() const {
  TPathMap rules;
  for (int row = 0; row < GridPathMap->RowCount(); ++row) {
    std::string from = GridPathMap->Cells(0, row);
    if (!from.empty()) rules.push_back({from, GridPathMap->Cells(1, row)});
  }
  return rules;
}

void TFormSettings::BtnCheckPathsClick() {
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

void TFormSettings::BtnApplyClick() {
  TViewerSettings& s = m_owner.Settings();
  s.TitleType = ComboTitle->currentIndex();
  s.ColorScheme = ComboSchemes->currentIndex() < 0 ? std::string() : FromQString(ComboSchemes->currentText());
  s.Language = ComboLanguages->currentIndex() < 0 ? std::string() : FromQString(ComboLanguages->currentText());
  s.FullScreen = CheckFullScreen->isChecked();
  s.ShowTopImages = CheckShowTopImages->isChecked();
  s.AutoScroll = CheckAutoscroll->isChecked();
  // A box whose text is no whole number counts as 0.
  auto number = [](const QSpinBox* spin) {
    bool ok = false;
    int value = spin->cleanText().toInt(&ok);
    return ok ? value : 0;
  };
  s.MaxImageWidth = number(SpinMaxImageWidth);
  s.MaxImageHeight = number(SpinMaxImageHeight);
  s.DateFormat = FromQString(ComboDate->currentText());
  s.ExternalPlayer = FromQString(EditExternalPlayer->text());
  s.VideoPathField = FromQString(ComboVideoField->currentText());
  s.LiveReload = CheckLiveReload->isChecked();
  s.ThumbnailCache = CheckThumbnailCache->isChecked();
  s.PathMap = GridPathRules();
  s.Protected = CheckPassword->isChecked();
  s.Password = FromQString(EditPassword1->text());
  s.ShowOpenButton = CheckBtnOpen->isChecked();
  s.ShowEditButton = CheckBtnEdit->isChecked();
  s.ShowPlayButton = CheckBtnPlay->isChecked();
  s.ShowSettingsButton = CheckBtnSettings->isChecked();
  s.ShowSearch = CheckSearch->isChecked();
  s.Template = Lines(*MemoTemplate);
  s.ListTemplate = Lines(*MemoListTemplate);

  s.UserVars.Clear();
  for (int row = 0; row < GridUserVars->RowCount(); ++row) {
    std::string find = GridUserVars->Cells(0, row), replacement = GridUserVars->Cells(1, row);
    ReplaceAll(find, "=", kEqualSign);
    ReplaceAll(replacement, "=", kEqualSign);
    if (!find.empty()) s.UserVars.Set(find, replacement);
  }

  m_owner.ApplySettings();
  // The main window may have changed its size or border under the dialog.
  raise();
  activateWindow();
}

void TFormSettings::BtnOkClick() {
  if (CheckPassword->isChecked() && EditPassword1->text() != EditPassword2->text()) {
    if (ErrorBox) ErrorBox(this, QStringLiteral("Passwords mismatch."));
    EditPassword1->setFocus();
    return;
  }
  BtnApplyClick();
  // A failed save leaves the window open, so nothing edited is lost.
  if (!m_owner.SaveSettings()) return;
  accept();
}

void TFormSettings::BtnCancelClick() { reject(); }

void TFormSettings::CheckPasswordClick() {
  const bool on = CheckPassword->isChecked();
  for (QWidget* widget : {static_cast<QWidget*>(EditPassword1), static_cast<QWidget*>(EditPassword2),
                          static_cast<QWidget*>(LabelPassword1), static_cast<QWidget*>(LabelPassword2)}) {
    widget->setEnabled(on);
  }
}

void TFormSettings::ComboDateChange() {
  EditDateSample->setText(Text(FormatMovieDate(TodayDayNumber(), FromQString(ComboDate->currentText()))));
}

void TFormSettings::SpeedButton1Click() {
  if (!OpenDialog1) return;
  if (std::optional<std::string> chosen = OpenDialog1(this, FromQString(EditExternalPlayer->text()))) {
    EditExternalPlayer->setText(Text(*chosen));
  }
}

void TFormSettings::BtnInsertClick() {
  m_insertTarget = 0;
  PopupMenu1->popup(BtnInsert->mapToGlobal(QPoint(0, BtnInsert->height())));
}

void TFormSettings::BtnInsert2Click() {
  m_insertTarget = 1;
  PopupMenu1->popup(BtnInsert2->mapToGlobal(QPoint(0, BtnInsert2->height())));
}

void TFormSettings::InsertVariable(const QString& variable) {
  QPlainTextEdit* box = m_insertTarget == 0 ? MemoTemplate : MemoListTemplate;
  box->insertPlainText(variable);
  box->setFocus();
}
