#include "app/main_panel.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTabBar>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/help_window.h"
#include "app/page_sheet.h"
#include "info/firmware_page.h"
#include "info/info_page.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_page.h"
#include "res/ids_main.h"
#include "res/menus.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "settings/advanced_page.h"
#include "settings/settings_page.h"
#include "ui/about_box.h"
#include "ui/ask_user.h"
#include "ui/beep.h"
#include "ui/image_button.h"
#include "ui/lang_string.h"
#include "ui/window_waits.h"

namespace vornik {

CSettings* SettingsPage = nullptr;
CAdvanced* AdvancedPage = nullptr;
CPhonebook* PhonebookPage = nullptr;
CInfo* InfoPage = nullptr;
CFwUp* FwUpPage = nullptr;
PageSheetWidget* PageSheet = nullptr;

namespace {

namespace ids = res::main_ids;

constexpr int kFullModel = 2;
constexpr int kSheetMargin = 10;

QPointer<CMainPanel>& TheMainPanel() {
  static QPointer<CMainPanel> panel;
  return panel;
}

// Tab picture of each page, in the order of the strip: Settings, Advanced, Phonebook,
// Information, Firmware Update.
enum TabPicture {
  kPictureSettings,
  kPictureAdvanced,
  kPicturePhonebook,
  kPictureInfo,
  kPictureFwUp
};

// The main window's template with the menu layout that offers the settings file too.
const res::DialogTemplate& MainTemplate() {
  static const res::DialogTemplate withSettingsMenu = [] {
    res::DialogTemplate dialog = res::kTemplate102;
    dialog.menuId = res::kMenu130.id;
    return dialog;
  }();
  return withSettingsMenu;
}

}  // namespace

CMainPanel* MainPanel() {
  return TheMainPanel();
}

CMainPanel::CMainPanel(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      windowIcon_(res::LoadScaledIcon(res::kIconApplication)) {
  TheMainPanel() = this;
  qApp->installEventFilter(this);
  setObjectName(QStringLiteral("MainPanel"));
  controls_ = res::BuildDialog(MainTemplate(), this);
  helpButton_ = controls_.find<ImageButton>(ids::kHelp);
  exitButton_ = controls_.find<ImageButton>(ids::kExit);

  setWindowIcon(windowIcon_);
  exitButton_->setIconResource(res::kIconExit);
  exitButton_->setFlat(false);
  helpButton_->setIconResource(res::kIconHelp);
  helpButton_->setFlat(false);
  connect(exitButton_, &QPushButton::clicked, this, &CMainPanel::OnExit);
  connect(helpButton_, &QPushButton::clicked, this, &CMainPanel::OnHelp);
  connect(&PageCommands(), &PageCommandActivity::ended, this, [this] {
    if (const auto result = std::exchange(closeWhenCommandEnds_, std::nullopt))
      closeAsked(*result);
  });
  routeMenuCommands();

  createPages();
  fitToSheet();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  // The first page reads the device as it is made, and its not-responding box centres on
  // the window: the window has its size and place first.
  PageSheet->createWindow();
  PageSheet->show();
  PageSheet->setActivePage(0);
  localize();
}

CMainPanel::~CMainPanel() {
  QuitHelp();
  sheet_->releasePages();
  // The pages go in the order the panel has always deleted them.
  delete PhonebookPage;
  delete SettingsPage;
  delete FwUpPage;
  delete InfoPage;
  delete AdvancedPage;
  PhonebookPage = nullptr;
  SettingsPage = nullptr;
  FwUpPage = nullptr;
  InfoPage = nullptr;
  AdvancedPage = nullptr;
  if (PageSheet == sheet_)
    PageSheet = nullptr;
}

void CMainPanel::createPages() {
  PhonebookPage = new CPhonebook;
  SettingsPage = new CSettings;
  FwUpPage = new CFwUp;
  InfoPage = new CInfo;
  AdvancedPage = new CAdvanced;
  connect(PhonebookPage, &CPhonebook::phonebookMenuEnabled, this, &EnablePhonebookMenu);
  connect(FwUpPage, &CFwUp::updateRunningChanged, this, &CMainPanel::holdForUpdate);

  sheet_ = PageSheet = new PageSheetWidget(controls_.client());
  std::vector<std::pair<PropertyPage*, int>> tabs;
  if (MachineState.ModelCode == kFullModel) {
    tabs = {{SettingsPage, kPictureSettings},
            {AdvancedPage, kPictureAdvanced},
            {PhonebookPage, kPicturePhonebook}};
  }
  tabs.push_back({InfoPage, kPictureInfo});
  tabs.push_back({FwUpPage, kPictureFwUp});

  const auto pictures =
      res::LoadScaledStrip(res::kBitmapTabPictures, res::kTabPictureWidth, res::kTabPictureMask);
  for (auto [page, picture] : tabs) {
    PageSheet->addPage(page);
    PageSheet->setTabIcon(PageSheet->count() - 1, pictures.value(picture));
  }
  PageSheet->setIconSize(QSize(res::kTabPictureWidth, res::kTabPictureWidth));
}

// The sheet sits 10 pixels in from the client's corner and the window is sized around it:
// the sheet's width plus 30, its height plus six dialog-font heights (room for the
// buttons) plus the menu bar and the caption.
void CMainPanel::fitToSheet() {
  // Pages that have not made their controls yet still ask for their template's size.
  const QSize sheet = PageSheet->sizeHint().expandedTo(PageSheet->minimumSizeHint());
  measures_.sheetWidth = sheet.width();
  measures_.sheetHeight = sheet.height();
  measures_.fontHeight = QFontMetrics(res::DialogFont(res::kTemplate102)).height();
  measures_.menuBarHeight = menuBar() ? menuBar()->sizeHint().height() : 0;
  measures_.captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);

  // The sheet stands 10 pixels in from the client's left and top edges and is drawn 10
  // pixels wider than it was measured, so its right margin equals its left one; the window
  // keeps the width W + 30 it is sized to.
  PageSheet->setGeometry(kSheetMargin, kSheetMargin, measures_.sheetWidth + kSheetMargin,
                         measures_.sheetHeight);
  const int width = measures_.sheetWidth + 30;
  const int height = measures_.sheetHeight + 6 * measures_.fontHeight + measures_.menuBarHeight +
                     measures_.captionHeight;
  // The platform draws the caption outside the client area: the client gets the rest.
  setFixedSize(width, height - measures_.captionHeight);
}

void CMainPanel::localize() {
  res::LocalizeDialog(controls_);
  const bool full = MachineState.ModelCode == kFullModel;
  if (full)
    res::LocalizeMenuBar(menuBar());
  const std::vector<const char*> sections =
      full ? std::vector<const char*>{"SETTINGS", "ADVANCED", "PHONEBOOK", "INFO", "FWUP"}
           : std::vector<const char*>{"INFO", "FWUP"};
  for (size_t tab = 0; tab < sections.size(); ++tab)
    PageSheet->setTabText(int(tab), LangString(sections[tab], "CAPTION"));
}

void CMainPanel::routeMenuCommands() {
  const auto route = [this](int command, auto handler) {
    if (QAction* action = res::FindMenuCommand(menuBar(), command))
      connect(action, &QAction::triggered, this, handler);
  };
  route(res::kCmdExit, &CMainPanel::OnExit);
  route(res::kCmdHelpContents, &CMainPanel::OnHelp);
  route(res::kCmdAbout, &CMainPanel::OnAbout);
  route(res::kCmdLoadPhonebook, &CMainPanel::OnLoadPhonebook);
  route(res::kCmdSavePhonebook, &CMainPanel::OnSavePhonebook);
  route(res::kCmdLoadSettings, &CMainPanel::OnLoadSettings);
  route(res::kCmdSaveSettings, &CMainPanel::OnSaveSettings);
  // Only the full model has the two setup records a settings file holds.
  for (int command : {res::kCmdLoadSettings, res::kCmdSaveSettings}) {
    if (QAction* action = res::FindMenuCommand(menuBar(), command))
      action->setEnabled(MachineState.ModelCode == kFullModel);
  }
}

void CMainPanel::OnExit() {
  closeAsked(Accepted);
}

void CMainPanel::reject() {
  closeAsked(Rejected);
}

void CMainPanel::closeAsked(DialogCode result) {
  if (!refusedWhileUpdating() && !closeAfterCommand(result) && unsentEditsLetClose())
    done(result);
}

bool CMainPanel::unsentEditsLetClose() {
  enum Answer { kSendNow, kCloseWithoutSending, kStay };
  std::vector<PropertyPage*> edited;
  QStringList titles;
  for (int tab = 0; tab < PageSheet->count(); ++tab) {
    if (PropertyPage* page = PageSheet->page(tab); page->hasUnsentEdits()) {
      edited.push_back(page);
      titles.append(PageSheet->tabText(tab));
    }
  }
  if (edited.empty())
    return true;
  const int answer = AskUser(
      this, "UnsentEditsQuestion",
      LangString("COMMON", "IDS_UNSENT_EDITS") + QStringLiteral("\n\n") +
          titles.join(QStringLiteral(", ")),
      {LangString("COMMON", "IDC_SEND_NOW"), LangString("COMMON", "IDC_CLOSE_WITHOUT_SENDING"),
       LangString("COMMON", "IDC_STAY")});
  if (answer == kSendNow)
    return std::all_of(edited.begin(), edited.end(),
                       [](PropertyPage* page) { return page->sendEdits(); });
  return answer == kCloseWithoutSending;
}

bool CMainPanel::closeAfterCommand(DialogCode result) {
  if (!PageCommands().running())
    return false;
  closeWhenCommandEnds_ = result;
  return true;
}

bool CMainPanel::refusedWhileUpdating() const {
  const bool running = FwUpPage != nullptr && FwUpPage->updateRunning();
  if (running)
    Beep();
  return running;
}

void CMainPanel::holdForUpdate(bool running) {
  PageSheet->lockActivePage(running);
  if (QAction* fileMenu = menuBar() ? menuBar()->actions().value(0) : nullptr)
    fileMenu->setEnabled(!running);
}

void CMainPanel::OnHelp() {
  ShowHelp(this, kHelpContext);
}

void CMainPanel::OnAbout() {
  CAboutBox about;
  about.exec();
}

// F1 anywhere in the window opens the help, seen before the key reaches its control; the
// key then goes its normal way.
bool CMainPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool firstDelivery = widget == QApplication::focusWidget() || widget == this;
    if (widget != nullptr && widget->window() == this && firstDelivery)
      OnHelp();
  }
  return QDialog::eventFilter(watched, event);
}

void EnablePhonebookMenu(bool load, bool save) {
  CMainPanel* panel = MainPanel();
  if (panel == nullptr || panel->menuBar() == nullptr)
    return;
  for (const auto& [command, enable] :
       {std::pair{res::kCmdLoadPhonebook, load}, std::pair{res::kCmdSavePhonebook, save}}) {
    if (QAction* action = res::FindMenuCommand(panel->menuBar(), command))
      action->setEnabled(enable);
  }
}

}  // namespace vornik
